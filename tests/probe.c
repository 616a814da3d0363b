/* Built and started at configure time to learn whether this machine can run
   the programs of the build, and how much slower than usual they run there
   (NUV_TIME_SCALE, which the tests' waits read too). */
#include <stdio.h>
#include <stdlib.h>

int main(void) {
    const char* scale = getenv("NUV_TIME_SCALE");
    printf("probe ran, time scale %s\n", scale && *scale ? scale : "1");
    return 0;
}

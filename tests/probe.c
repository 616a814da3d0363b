/* Built and started at configure time to learn whether this machine can run
   the programs of the build. */
#include <stdio.h>

int main(void) {
    printf("probe ran\n");
    return 0;
}

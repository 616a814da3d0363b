/* Exits 0 when this machine's kernel runs 32-bit code, as the 32-bit
   programs' Wine processes need; dies of a signal otherwise (some virtual
   machines' kernels give user space no 32-bit code segment). It far-calls a
   32-bit "lret" through the kernel's 32-bit user code segment, 0x23, with
   code and stack below 4 GiB, where 32-bit code can address them. */
#include <stddef.h>
#include <stdint.h>
#include <sys/mman.h>

int main(void) {
    enum { size = 65536 };
    uint8_t* low =
        mmap(NULL, size, PROT_READ | PROT_WRITE | PROT_EXEC, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    if (low == MAP_FAILED) return 2;
    low[0] = 0xcb; /* lret */
    struct __attribute__((packed)) {
        uint32_t offset;
        uint16_t selector;
    } target = {(uint32_t)(uintptr_t)low, 0x23};
    /* The return address is pushed as 32 bits: this file is linked static
       and not position-independent, so its code lies below 4 GiB too. */
    __asm__ volatile("mov %%rsp, %%rbx\n\t"
                     "mov %1, %%rsp\n\t"
                     "lcall *(%0)\n\t"
                     "mov %%rbx, %%rsp"
                     :
                     : "r"(&target), "r"(low + size)
                     : "rbx", "memory");
    return 0;
}

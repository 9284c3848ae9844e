/* The floor every call is measured against: a static program that writes
   the same result line with one write and exits. */
#include <unistd.h>

int main(void) { return write(1, "TRUE|20|24|0|very|string|\r\n", 27) == 27 ? 0 : 1; }

/* Holds the Wine desktop and server open for a whole test session, so that
   each test program starts warm and CTest is not kept waiting by Wine's
   background processes. Ended by "wineserver -k". */
#include <windows.h>

int main(void)
{
    Sleep(INFINITE);
    return 0;
}

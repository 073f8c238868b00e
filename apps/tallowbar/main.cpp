// Tallowbar, the Vellmoor server-status ticker.
#include "forms/tallowbar/tallowbar.h"
#include "monitor/runprogram.h"

int main(int argc, char** argv) {
    return monitor::runProgram(forms::tallowbar(), argc, argv);
}

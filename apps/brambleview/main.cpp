// Brambleview, the Vellmoor server-status panel with its game-start page.
#include "forms/brambleview/brambleview.h"
#include "monitor/platform/webengine/webenginebrowser.h"
#include "monitor/runprogram.h"

int main(int argc, char** argv) {
    return monitor::runProgram(forms::brambleview(), argc, argv,
                               monitor::webengine::webEngineBrowsers());
}

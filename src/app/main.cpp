// kestra-ss: loads the module as the host would and runs the command-line tools.
#include "platform/host/CommandLine.h"

#include <cstdio>

int main(int argc, char** argv)
{
    kxhost::setCommandLineEcho(true);
    std::puts("kestra-ss");
    return 0;
}

// The command line is ignored: the program takes nothing from it.
#include "app/program.h"

int main() {
    const auto desktop = tessaryn::make_native_desktop();
    return tessaryn::Program(*desktop).run();
}

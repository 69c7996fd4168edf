// Prints korvanectl's bash completion script; run by the build, not installed.

#include "CompletionScript.h"

#include <iostream>

int main() {
    std::cout << korvane::ctl::bashCompletion();
    return std::cout.good() ? 0 : 1;
}

#include "CtlMain.h"
#include "SubCommand.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        return korvane::ctl::runCtl(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "korvanectl: " << e.what() << '\n';
        return korvane::ctl::kExitFailure;
    }
}

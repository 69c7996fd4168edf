#include "server/ServerMain.h"

#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return korvane::server::runServer(args, std::cout, std::cerr);
}

#include <iostream>

#include "app/COrvaApp.h"
#include "app/CommandLine.h"

int main(int argc, char** argv) {
    const orva::CommandLine line = orva::CommandLine::parse(argc, argv);
    if (line.action != orva::CommandLine::Action::Run) {
        return line.answer(std::cout, std::cerr);
    }
    orva::COrvaApp app(argc, argv);
    return app.run(line.demo);
}

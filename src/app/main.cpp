#include "app/COrvaApp.h"

int main(int argc, char** argv) {
    orva::COrvaApp app(argc, argv);
    return app.run();
}

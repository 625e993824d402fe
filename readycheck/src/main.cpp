#include "Application.h"
#include "Controller.h"

int main(int argc, char** argv) {
    return ApplicationMain(argc, argv, [] { return std::make_unique<Controller>(); });
}

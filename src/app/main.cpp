#include "Startup.h"

int main(int argc, char** argv) {
    return kvelo::RunProgram(argc, argv);
}

#include "shell/ui/RunProgram.h"

int main(int argc, char **argv) {
    return qm::RunProgram(argc, argv);
}

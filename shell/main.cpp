#include "shell/Program.h"

#include <string>
#include <vector>

int main(int argc, char** argv) { return RunProgram(std::vector<std::string>(argv + 1, argv + argc)); }

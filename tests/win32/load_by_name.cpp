// Loads each library named on the command line by its bare name, as a
// program that does not limit the search would: the loading test's proof
// that Wine prefers the DLLs planted beside a program.
#include <windows.h>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) LoadLibraryA(argv[i]);
    return 0;
}

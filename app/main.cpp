#include "app/Application.h"

int main(int argc, char** argv)
{
    return zdawnik::RunProgram(argc, argv);
}

#include "app/zelk_nal.h"

int main(int argc, char** argv)
{
    return runZelkNal(argc, argv);
}

#include "app/hugepages.h"
#include "app/zelk_nal.h"

int main(int argc, char** argv)
{
    restartWithHugePages(argv);
    return runZelkNal(argc, argv);
}

// Writes Levara's icon, the window's own staff, as a PNG for the package.
//
// usage: make_icon SIZE FILE
#include <cstdlib>
#include <iostream>

#include "window/window.h"

int main(int argc, char** argv)
{
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size <= 0) {
        std::cerr << "usage: make_icon SIZE FILE\n";
        return 2;
    }
    if (!levara::staffImage(size).save(argv[2], "PNG")) {
        std::cerr << "make_icon: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}

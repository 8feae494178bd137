// tallowby_mkfolder FOLDER: lays out a Tallowby program folder (see program_folder.h).
#include <exception>
#include <iostream>

#include "program_folder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tallowby_mkfolder FOLDER\n";
        return 2;
    }
    try {
        tallowby::tools::layOutProgramFolder(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "tallowby_mkfolder: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

// cubequery FILE MDX
//
// Opens the local cube file, runs the MDX statement and prints the result
// (see olap/adomd/CellsetText.h); a CREATE GLOBAL CUBE statement prints
// nothing. On failure the message goes to stderr and the exit code is 1.
#include "olap/adomd/Adomd.h"
#include "olap/adomd/ConnectionString.h"
#include "olap/adomd/CellsetText.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: cubequery FILE MDX\n";
        return 2;
    }
    try {
        cb::olap::Cellset cellset;
        // Quoted, so that a file name holding quotes, ";" or "=" stays one
        // file name and adds no settings of its own.
        cellset.SetActiveConnection("Data Source=" + cb::olap::QuoteConnectionStringValue(argv[1]) +
                                    ";Provider=MSOLAP.2;");
        cellset.Open(argv[2]);
        if (cellset.State() == cb::olap::Cellset::adStateOpen) std::cout << cb::olap::CellsetToText(cellset);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}

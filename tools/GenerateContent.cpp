// flarons_gen: writes the game folder's pictures and maps at build time.
#include "content/GameFolder.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: flarons_gen GAME_FOLDER\n");
        return 2;
    }
    if (!WriteGameFolder(argv[1])) {
        std::fprintf(stderr, "flarons_gen: could not write the game folder %s\n", argv[1]);
        return 1;
    }
    return 0;
}

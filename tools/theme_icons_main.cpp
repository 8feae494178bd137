// tallowby_theme_icons FOLDER: writes the program's icon as FOLDER/<N>x<N>/apps/tallowby.png, the
// layout of a freedesktop icon theme such as hicolor, for the application menu. The art is the one
// the running program shows, drawn afresh at each size rather than scaled from one bitmap.
#include <QImage>
#include <QString>
#include <filesystem>
#include <iostream>

#include "icon_art.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tallowby_theme_icons FOLDER\n";
        return 2;
    }
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string side = std::to_string(size);
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / (side + "x" + side) / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        const std::filesystem::path file = folder / "tallowby.png";
        const QImage icon = tallowby::tools::drawIcon(tallowby::tools::IconState::Running, size);
        if (error || !icon.save(QString::fromStdString(file.string()), "PNG")) {
            std::cerr << "tallowby_theme_icons: cannot write " << file << '\n';
            return 1;
        }
    }
    return 0;
}

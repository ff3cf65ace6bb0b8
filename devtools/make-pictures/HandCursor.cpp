#include "devtools/make-pictures/HandCursor.h"

#include <array>
#include <string_view>

namespace zdawnik::tools {

namespace {

// One character a pixel: '#' black, '-' white, anything else clear. A cursor this small is drawn
// pixel by pixel; a smoothed drawing could not be reduced to black and white without blotches.
constexpr std::array<std::string_view, 23> Hand = {
    "",
    "      ###",
    "     #---#",
    "     #---#",
    "     #---#",
    "     #---#",
    "     #---#",
    "     #---####",
    "     #---#---###",
    "     #---#---#--##",
    "     #---#---#--#-#",
    " ### #---#---#--#--#",
    "#---##-------------#",
    "#----#-------------#",
    " #---#-------------#",
    "  #--#-------------#",
    "  #----------------#",
    "   #---------------#",
    "   #--------------#",
    "    #-------------#",
    "    #------------#",
    "     #-----------#",
    "     #############",
};

} // namespace

QImage DrawHandCursor()
{
    QImage cursor(32, 32, QImage::Format_ARGB32);
    cursor.fill(Qt::transparent);
    for (int y = 0; y < static_cast<int>(Hand.size()); ++y) {
        for (int x = 0; x < static_cast<int>(Hand[y].size()); ++x) {
            if (Hand[y][x] == '#')
                cursor.setPixel(x, y, qRgb(0, 0, 0));
            else if (Hand[y][x] == '-')
                cursor.setPixel(x, y, qRgb(255, 255, 255));
        }
    }
    return cursor;
}

} // namespace zdawnik::tools

// The program's icon: bitmaps rendered from its SVG drawing when the program
// is built, kept in the program's resources.
#pragma once

#include <QIcon>

QIcon ikona_programu();

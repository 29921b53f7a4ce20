// Resource ids of the program's pictures. Plain macros because the resource
// compiler reads this header too.
#pragma once

#define TOVO_IDI_MAIN 1         // the window icon (eight images, up to 128 x 128)
#define TOVO_IDB_EMBLEM 201     // Image1: the 50 x 50 emblem, 24-bit
#define TOVO_IDB_DESKTOP 202    // SpeedButton1: the desktop glyph, 26 x 22
#define TOVO_IDB_DOCUMENTS 203  // SpeedButton2: the documents glyph, 26 x 22

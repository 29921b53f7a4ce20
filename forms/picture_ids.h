// Resource ids of the program's pictures. Plain macros because the resource
// compiler reads this header too.
#pragma once

#define TOVO_IDI_MAIN 1         // the window icon (eight images, up to 128 x 128)
#define TOVO_IDB_EMBLEM 201     // Image1: the 50 x 50 emblem, 24-bit
#define TOVO_IDB_DESKTOP 202    // SpeedButton1: the desktop glyph, 26 x 22
#define TOVO_IDB_DOCUMENTS 203  // SpeedButton2: the documents glyph, 26 x 22

// Each picture is also drawn for 150 % and 200 % display scaling, under its
// own id plus these.
#define TOVO_PICTURE_150 1000
#define TOVO_PICTURE_200 2000
#define TOVO_IDB_EMBLEM_150 1201
#define TOVO_IDB_DESKTOP_150 1202
#define TOVO_IDB_DOCUMENTS_150 1203
#define TOVO_IDB_EMBLEM_200 2201
#define TOVO_IDB_DESKTOP_200 2202
#define TOVO_IDB_DOCUMENTS_200 2203

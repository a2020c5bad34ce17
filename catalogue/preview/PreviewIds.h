#pragma once
// Resource ids of the preview pane's viewers, within the program's ranges (see
// ../shell/resource.h; 1300-1303 belong to the scan progress dialog).

// Picture viewer: its views and the buttons of its tool bar, left to right.
#define IDC_PICTURE_STILL 1310
#define IDC_PICTURE_ANIMATION 1311
#define IDC_PICTURE_TOOLBAR 1312
#define IDC_PICTURE_ZOOM_IN 1320
#define IDC_PICTURE_ZOOM_OUT 1321
#define IDC_PICTURE_ROTATE 1322
#define IDC_PICTURE_FLIP_VERTICAL 1323
#define IDC_PICTURE_FLIP_HORIZONTAL 1324

// Hints of the picture tool bar's buttons, in the buttons' order.
#define IDS_HINT_ZOOM_IN 2300
#define IDS_HINT_ZOOM_OUT 2301
#define IDS_HINT_ROTATE 2302
#define IDS_HINT_FLIP_VERTICAL 2303
#define IDS_HINT_FLIP_HORIZONTAL 2304

#pragma once
// Resource ids of the preview pane: its strings and the controls of its title strip and
// viewers.

#define IDS_PREVIEW_HEADING 2003
#define IDS_PREVIEW_CLOSE_HINT 2350
#define IDS_PREVIEW_TEXT_CUT 2351
#define IDS_ARCHIVE_COLUMN_BASE 2360 // + column, 0..4
#define IDS_ARCHIVE_EXTRACTING 2365
#define IDS_ARCHIVE_OF 2366
#define IDS_PREVIEW_CONVERT_FAILED 2450 // German in both languages

#define IDC_PREVIEW_CLOSE 1350
#define IDC_PREVIEW_CAPTION 1351
#define IDC_PREVIEW_NOTE 1352
#define IDC_PREVIEW_TEXT 1353
#define IDC_PREVIEW_ICONS 1354
#define IDC_PREVIEW_ARCHIVE 1355
#define IDC_PREVIEW_LONG_TEXT 1356

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

// Sound and film viewer: its media bar, the bar's parts and the film display; the time the bar
// shows first and the buttons' hints.
#define IDC_MEDIA_BAR 1400
#define IDC_MEDIA_SLIDER 1401
#define IDC_MEDIA_TIME 1402
#define IDC_MEDIA_PLAY 1403
#define IDC_MEDIA_PAUSE 1404
#define IDC_MEDIA_STOP 1405
#define IDC_MEDIA_FILM 1406

#define IDS_MEDIA_TIME_START 2400
#define IDS_MEDIA_PLAY_HINT 2401
#define IDS_MEDIA_PAUSE_HINT 2402
#define IDS_MEDIA_STOP_HINT 2403

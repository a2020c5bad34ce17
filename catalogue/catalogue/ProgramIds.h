#pragma once
// Resource ids every part of the program uses: the program's icon and the titles of its
// messages (ranges as in ../shell/resource.h).

#define IDI_SORTARO 100
#define IDS_APP_TITLE 2000
#define IDS_NOTE_TITLE 2065
#define IDS_ERROR_TITLE 2066

// Control and menu ids of the properties dialog, shared by its resource script and its code.
// Every frame of the form's tables (forms/properties_pages.h, PropertiesFrame order) owns a block
// of 32 ids: its group box, and per row a label, the field (edit, or check box) and its up-down
// control, so the code binds rows to controls by position and the script never names a key.
#pragma once

#define QP_FRAME_PIXEL_HUE 0
#define QP_FRAME_PIXEL_COLOUR 1
#define QP_FRAME_DISPLAY 2
#define QP_FRAME_FOCAL 3
#define QP_FRAME_FIREWORKS 4
#define QP_FRAME_LAUNCH 5
#define QP_FRAME_DISPERSION 6
#define QP_FRAME_MULTI_BURST 7
#define QP_FRAME_JET_BURST 8
#define QP_FRAME_SCINTILLATORS 9
#define QP_FRAME_SPARKLERS 10
#define QP_FRAME_RINGS 11
#define QP_FRAME_TWISTERS 12
#define QP_FRAME_DECAYING 13
#define QP_FRAME_STARFIELD 14
#define QP_FRAME_COMETS 15
#define QP_FRAME_PATTERN 16
#define QP_FRAME_WARP 17
#define QP_FRAME_WARP_TYPE 18
#define QP_FRAME_SPARKLER 19
#define QP_FRAME_GRAVITY 20
#define QP_FRAME_GRAVITY_HUE 21
#define QP_FRAME_GALAXY 22
#define QP_FRAME_GALAXY_SHAPE 23
#define QP_FRAME_NEW_STARS 24
#define QP_FRAME_NOVAS 25
#define QP_FRAME_STAR_BURSTS 26
#define QP_FRAME_GALAXY_COMETS 27
#define QP_FRAME_AMBIENT 28
#define QP_FRAME_COUNT 29

#define QP_FRAME_BASE(f) (1000 + (f) * 32)
#define QP_GROUP(f) (QP_FRAME_BASE(f) + 31)
#define QP_LABEL(f, r) (QP_FRAME_BASE(f) + 3 * (r))
#define QP_FIELD(f, r) (QP_FRAME_BASE(f) + 3 * (r) + 1)
#define QP_SPIN(f, r) (QP_FRAME_BASE(f) + 3 * (r) + 2)

// Controls outside the rows.
#define IDC_PROPS_EFFECT 1940
#define IDC_PROPS_PAGE 1941
#define IDC_PROPS_SWATCH0 1942
#define IDC_PROPS_SWATCH1 1943
#define IDC_PROPS_SWATCH2 1944
#define IDC_PROPS_MESSAGE 1945
#define IDC_PROPS_PREVIEW 1946
#define IDC_PROPS_FIRE_THEME 1947
#define IDC_PROPS_FIRE_EXTRAS 1948
#define IDC_PROPS_EXTRAS_AREA 1949
#define IDC_PROPS_WARP_TYPE 1950
#define IDC_PROPS_GRAV_HUE 1951
#define IDC_PROPS_GAL_HUE 1952
#define IDC_PROPS_GAL_THEME 1953
#define IDC_PROPS_GAL_EXTRAS 1954
#define IDC_PROPS_GAL_SWATCH 1955
#define IDC_PROPS_GAL_PROFILE 1956
#define IDC_PROPS_GAL_PICTURE 1957
#define IDC_PROPS_GAL_PLANE 1958

// Menu entries; the Effect menu's follow its first in effect order.
#define IDM_PROPS_OPEN 1970
#define IDM_PROPS_SAVE 1971
#define IDM_PROPS_SAVE_AS 1972
#define IDM_PROPS_EXIT 1973
#define IDM_PROPS_RESET 1974
#define IDM_PROPS_ADVANCED 1975
#define IDM_PROPS_EFFECT0 1980
#define IDM_PROPS_SOUNDS 1986
#define IDM_PROPS_CONTENTS 1990
#define IDM_PROPS_SEARCH 1991
#define IDM_PROPS_ABOUT 1992

#ifdef RC_INVOKED
// A numeric row: its label (the caption with the range, set by the code), the edit and the
// up-down control beside it; lw is the label's width. A check box row: the caption left of the box.
#define QP_NUM(f, r, x, y, lw) \
  LTEXT "", QP_LABEL(f, r), x, (y) + 2, lw, 8 \
  EDITTEXT QP_FIELD(f, r), (x) + (lw) + 2, y, 34, 12, ES_AUTOHSCROLL \
  CONTROL "", QP_SPIN(f, r), "msctls_updown32", 0, (x) + (lw) + 36, y, 9, 12
#define QP_CHECK(f, r, x, y, lw) \
  AUTOCHECKBOX "", QP_FIELD(f, r), x, (y) + 1, (lw) + 12, 10, BS_LEFTTEXT | WS_TABSTOP
#define QP_BOX(f, x, y, w, h) GROUPBOX "", QP_GROUP(f), x, y, w, h
#define QP_LIST(id, x, y, w) COMBOBOX id, x, y, w, 160, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
#define QP_PAGE_STYLE DS_SETFONT | DS_CONTROL | WS_CHILD
// Where a page or sub-frame goes: an invisible placeholder.
#define QP_AREA(id, x, y, w, h) CONTROL "", id, "Static", WS_CHILD, x, y, w, h
#endif

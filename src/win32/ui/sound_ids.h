// The sound effect settings dialog's control identifiers (sound_dialog.rc, sound_dialog.cpp).
#pragma once

#define IDC_SND_ON 3000
#define IDC_SND_FRAME 3001
#define IDC_SND_LIST_LABEL 3002
#define IDC_SND_LIST 3003
#define IDC_SND_FILE_LABEL 3004
#define IDC_SND_FILE 3005
#define IDC_SND_PLAY 3006
#define IDC_SND_BROWSE 3007
#define IDC_SND_OURS 3008
#define IDC_SND_NOTES 3010
#define IDC_SND_DEFAULTS 3020

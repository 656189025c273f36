// Control ids of the about box and the credits (templates in about_box.rc).
#pragma once

#define IDC_ABOUT_TITLE 4001
#define IDC_ABOUT_LINE 4002
#define IDC_ABOUT_VERSION 4003
#define IDC_ABOUT_PICTURE 4004
#define IDC_ABOUT_NOTE 4005
#define IDC_ABOUT_CREDITS 4006
#define IDC_CREDITS_FRAME 4101

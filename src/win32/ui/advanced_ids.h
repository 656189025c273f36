// The advanced settings dialog's control identifiers (advanced_dialog.rc, advanced_dialog.cpp).
#pragma once

// The effect boxes, in the model's box order (the effects, then the two theme boxes).
#define IDC_ADV_EFFECT0 2000
#define IDC_ADV_CYCLE 2010
#define IDC_ADV_FRA_CYCLE 2011
// A numeric field's label, edit and up-down control, in the model's field order.
#define IDC_ADV_LABEL0 2020
#define IDC_ADV_FIELD0 2030
#define IDC_ADV_SPIN0 2040
#define IDC_ADV_HUE_START_SWATCH 2050
#define IDC_ADV_FONT_HUE_SWATCH 2051
#define IDC_ADV_MESSAGE 2060
#define IDC_ADV_FONT 2061
#define IDC_ADV_PREVIEW 2062
#define IDC_ADV_RESIZE 2070
#define IDC_ADV_DEFAULTS 2080

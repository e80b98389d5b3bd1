// SPDX-License-Identifier: MIT
// The product's identity in one place. Plain macros so that both the resource compiler and C++
// can use them; C++ gets UTF-16 text by concatenation, e.g. u"" VX_COMPANY_NAME.
#ifndef VX_APP_RES_PRODUCTINFO_H
#define VX_APP_RES_PRODUCTINFO_H

#define VX_PRODUCT_NAME "Vexelo"
#define VX_COMPANY_NAME "Vexelo Project"
#define VX_LEGAL_COPYRIGHT "Copyright (C) 2026 " VX_COMPANY_NAME
#define VX_PROGRAM_ID "org.vexelo.Vexelo"

// Numeric versions, comma-separated as VERSIONINFO wants them, and their text forms.
#define VX_FILE_VERSION_NUM 0, 1, 5, 11
#define VX_PRODUCT_VERSION_NUM 0, 1, 5, 0
#define VX_FILE_VERSION_TEXT "0.1.5.11"
#define VX_PRODUCT_VERSION_TEXT "0.1.5"

#endif

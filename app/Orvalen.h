// SPDX-License-Identifier: MIT
#pragma once

// Brings up the application, creates the three forms, runs the message loop until the
// magnifier window closes. Whatever escapes is shown in a message box; the result is always 0.
int RunOrvalen();

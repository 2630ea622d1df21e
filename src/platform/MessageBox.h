// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Message boxes.
///
/// Differences from Windows: there is no dialog. AfxMessageBox calls the handler that the
/// application installed with AfxSetMessageBoxHandler and returns its answer. Without a
/// handler the text goes to standard error and the answer is the one that changes nothing:
/// IDOK for an OK box, IDNO for a yes/no question, IDCANCEL where there is a cancel button,
/// IDABORT for abort/retry/ignore.
#include <functional>

#include "platform/WinTypes.h"

/// @name Buttons
/// @{

/// The buttons of a box (MB_TYPEMASK picks them out of the type); the default answer
/// without a handler follows them (see the notes above).
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_TYPEMASK 0x0000000Fu
/// @}
/// @name Icons
/// @{

/// The icon of a box: error, question, warning or information. Passed on to the handler.
#define MB_ICONHAND 0x00000010u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONINFORMATION MB_ICONASTERISK
/// @}

/// @name Answers
/// @{

/// The answers: the button chosen.
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
/// @}

/// Shows a message: gets the text and the MB_ type (buttons and icon), returns an ID answer.
using ZcmMessageBoxHandler = std::function<int(LPCTSTR text, UINT type)>;

/// Installs the handler (an empty function removes it) and returns the previous one.
ZCMCOM_API ZcmMessageBoxHandler AfxSetMessageBoxHandler(ZcmMessageBoxHandler handler);
/// Shows text with the buttons and icon of type (see the notes above) and returns the
/// answer, an ID value; helpId is ignored.
ZCMCOM_API int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
/// The text is the string resource; a missing resource shows an empty text.
ZCMCOM_API int AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = 0);

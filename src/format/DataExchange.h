// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Numeric dialog fields: DDX_ functions that move a number between a variable and an edit
/// control of a dialog, in the direction the exchange object says.
///
/// They never show an error: while saving they clean the typed text of characters that do
/// not belong in a number and put the cleaned text back; while loading they leave a text
/// that already stands for the value as it is (only cleaned), so typing, caret and
/// selection are not disturbed. The selection is kept across the exchange. A control id
/// with no edit control behind it is left alone.
#include "platform/Dialog.h"

/// @name Numeric exchanges
/// Move a number between value and the edit control nIDC of pDX's dialog. The control's
/// text is limited to maxChars characters; a sign is accepted only when bAllowNegative
/// is non-zero.
/// @{

/// A signed integer.
ZCMCOM_API void DDX_Int(CDataExchange* pDX, int nIDC, int& value, int bAllowNegative,
                        unsigned maxChars);
/// An unsigned integer (never a sign).
ZCMCOM_API void DDX_Uint(CDataExchange* pDX, int nIDC, unsigned& value, unsigned maxChars);
/// A floating-point number.
ZCMCOM_API void DDX_Double(CDataExchange* pDX, int nIDC, double& value, int bAllowNegative,
                           unsigned maxChars);
/// A floating-point number shown with format, which takes one floating argument ("%.3f"); one that
/// does not is replaced by "%f".
ZCMCOM_API void DDX_DoubleFmt(CDataExchange* pDX, int nIDC, double& value, const wchar_t* format,
                              unsigned maxChars);
/// At most `decimals` digits after the point, both ways.
ZCMCOM_API void DDX_Double_SignificantDigit(CDataExchange* pDX, int nIDC, double& value,
                                            int bAllowNegative, unsigned decimals);
/// @}

/// The cleaner the exchanges use: drops what does not belong in a number (a sign only in
/// front when allowed, one point when allowed, a run of leading zeros cut to one).
/// Returns whether the text changed. Texts of any length are cleaned whole.
ZCMCOM_API BOOL CleanNumberText(CString& text, BOOL allowPoint, BOOL allowSign);

// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The value classes that read the planetarium's answers:
/// - CStkStr: one token with typed readers;
/// - CZntProperty: ten tokens split from a dotted path ("Solar.Planet.Mars") or a call form
///   ("Location("Tokyo", 139.7, 35.7)");
/// - CStkString: a token that splits itself into a CZntProperty on first indexed read.
/// None of them talks to the host; none fails on bad text.
#include "platform/Afx.h"

/// One row of a keyword table; a table ends with a row whose name is null.
struct tagNAMETABLE {
    const wchar_t* name;  ///< the keyword (matched without regard to case); null ends the table
    int value;            ///< the value it stands for
};

/// One token of an answer, with typed readers. Readers of numbers give their default for
/// an empty token or "*" (the host has no value).
class ZCMCOM_API CStkStr : public CString {
public:
    /// @name Construction and assignment
    /// @{

    /// Empty, or a copy of the text given.
    CStkStr() = default;
    CStkStr(const CStkStr&) = default;
    CStkStr(const CString& s) : CString(s) {}  // NOLINT
    CStkStr(LPCTSTR s) : CString(s) {}         // NOLINT
    virtual ~CStkStr();
    CStkStr& operator=(const CStkStr&) = default;
    CStkStr& operator=(const CString& s) {
        CString::operator=(s);
        return *this;
    }
    CStkStr& operator=(LPCTSTR s) {
        CString::operator=(s);
        return *this;
    }
    /// @}

    /// 1 when the token equals text, ignoring case.
    int Same(const wchar_t* text) const;
    /// 1 when the token contains text, ignoring case.
    int IsInclude(CString text) const;
    /// The token as an integer, or def.
    int atoi(int def) const;
    /// The token as a floating-point number, or def.
    double atof(double def) const;
    /// 1 when the token starts with a sign or a digit.
    int IsNum() const;
    /// 1 for "TRUE", "ON" or "1" (any case), else 0.
    int Bool() const;
    /// The same as Bool.
    int IsTrue() const;
    /// 1 for "FALSE", "OFF" or "0" (any case), else 0.
    int IsFalse() const;
    /// 1 when the token is a truth value either way.
    int IsBool() const;
    /// 0 SOLID, 1 DASH, 2 DOT, 3 DASHDOT, 4 DASHDOTDOT (any case); -1 for anything else.
    int LineStyle() const;
    /// 1 when LineStyle knows the token.
    int IsLineStyle() const;
    /// The number of a channel token "#n", -1 for anything else.
    int Channel() const;
    /// A rate in degrees per second: a number with "DPS" (or none), "DPM" (per minute)
    /// or "RPM" (revolutions per minute); -1.0 without a value.
    double DPS() const;
    /// A year, "A.D."/"AD" or "B.C."/"BC" before or after the number (1 B.C. is year 0);
    /// def without a value.
    int Year(int def) const;
    /// Looks the token (up to a "(") up in table, ignoring case: 1 and *value set when
    /// found, else 0.
    int TableSearch(const tagNAMETABLE table[], int* value) const;
    /// Becomes the name of table's first row with value: 1, or 0 and unchanged.
    int TableValueSearch(const tagNAMETABLE table[], int value);

    /// Longest key or table name that TableSearch compares.
    static constexpr int kMaxKeyLength = 4095;

protected:
    /// Empty or "*": the host has no value.
    bool IsNoValue() const;
};

/// Up to kMaxParam tokens split from a dotted path or a call form. Parameter indexes run
/// from 0; a reader given an index outside 0..kMaxParam-1 gives 0 (Channel -1, the number
/// readers def, GetParam and Mid an empty text).
class ZCMCOM_API CZntProperty {
public:
    CZntProperty() = default;
    CZntProperty(const CString& text);                       ///< splits text as Set does (NOLINT)
    CZntProperty(const CZntProperty&) = default;             ///< copies the tokens
    CZntProperty& operator=(const CZntProperty&) = default;  ///< copies the tokens
    virtual ~CZntProperty();

    /// Splits text: at the dots of a path, or into the name and the comma-separated
    /// arguments of a call form (quoted arguments lose their quotes and may hold commas;
    /// nested parentheses stay whole). Tokens are trimmed of blanks and tabs; the rest
    /// are emptied.
    void Set(CString text);
    /// Parameter i.
    CStkStr GetParam(int i) const;
    /// @name Readers of parameter i
    /// @{

    /// The CStkStr reader of the same name, applied to parameter i.
    int Same(int i, const wchar_t* text) const;
    int IsEmpty(int i) const;
    int IsNum(int i) const;
    int IsInclude(int i, CString text) const;
    int IsTrue(int i) const;
    int IsFalse(int i) const;
    int Channel(int i) const;
    int atoi(int i, int def) const;
    double atof(int i, double def) const;
    int Year(int i, int def) const;
    int TableSearch(int i, const tagNAMETABLE table[], int* value) const;
    int TableValueSearch(int i, const tagNAMETABLE table[], int value);
    /// @}
    /// Character pos of parameter i (pos equal to the length gives 0); a negative or larger
    /// pos raises CInvalidArgException. A bad parameter index gives 0.
    wchar_t GetAt(int i, int pos) const;
    /// Parameter i from character first on.
    CString Mid(int i, int first) const;
    /// Moves the parameters n places up (n > 0, emptying the first n) or -n places down
    /// (n < 0, emptying the last); |n| >= kMaxParam empties them all.
    void Shift(int n);
    /// kMaxParam.
    int GetMaxParam() const { return kMaxParam; }

    /// The number of parameters kept.
    static constexpr int kMaxParam = 10;

private:
    static bool InRange(int i) { return i >= 0 && i < kMaxParam; }
    void SplitPath(const CString& text);
    void SplitCall(const CString& text, int open);

    CStkStr m_param[kMaxParam];
};

/// A CStkStr that also reads as a CZntProperty: the P readers split the text on first use.
class ZCMCOM_API CStkString : public CStkStr {
public:
    /// @name Construction and assignment
    /// @{

    /// Empty, or a copy of the text given (split again on the next P read).
    CStkString() = default;
    CStkString(const CString& s) : CStkStr(s) {}  // NOLINT
    CStkString(LPCTSTR s) : CStkStr(s) {}         // NOLINT
    CStkString(const CStkStr& s) : CStkStr(s) {}  // NOLINT
    CStkString(const CStkString&) = default;
    ~CStkString() override;

    CStkString& operator=(const CStkString&) = default;
    CStkString& operator=(const CStkStr& s);
    CStkString& operator=(const CString& s);
    CStkString& operator=(LPCTSTR s);
    /// @}

    /// @name Readers of parameter i of the split text
    /// @{

    /// The CZntProperty reader of the same name without the P, on the split text.
    int SameP(int i, const wchar_t* text) { return Property().Same(i, text); }
    int IsEmptyP(int i) { return Property().IsEmpty(i); }
    int IsNumP(int i) { return Property().IsNum(i); }
    int IsIncludeP(int i, CString text) { return Property().IsInclude(i, text); }
    int IsTrueP(int i) { return Property().IsTrue(i); }
    int IsFalseP(int i) { return Property().IsFalse(i); }
    int ChannelP(int i) { return Property().Channel(i); }
    int atoiP(int i, int def) { return Property().atoi(i, def); }
    double atofP(int i, double def) { return Property().atof(i, def); }
    int YearP(int i, int def) { return Property().Year(i, def); }
    int TableSearchP(int i, const tagNAMETABLE table[], int* value) {
        return Property().TableSearch(i, table, value);
    }
    int TableValueSearchP(int i, const tagNAMETABLE table[], int value) {
        return Property().TableValueSearch(i, table, value);
    }
    wchar_t GetAtP(int i, int pos) { return Property().GetAt(i, pos); }
    CString MidP(int i, int first) { return Property().Mid(i, first); }
    CStkStr GetParamP(int i) { return Property().GetParam(i); }
    void ShiftP(int n) { Property().Shift(n); }
    int GetMaxParamP() { return Property().GetMaxParam(); }
    /// @}

protected:
    /// Splits the text into the parameters once, on first use.
    CZntProperty& Property();

    int m_bParsed = 0;        ///< non-zero once m_Property holds the split text
    CZntProperty m_Property;  ///< the split text
};

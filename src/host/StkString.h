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
    const wchar_t* name;
    int value;
};

class ZCMCOM_API CStkStr : public CString {
public:
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

    int Same(const wchar_t* text) const;
    int IsInclude(CString text) const;
    int atoi(int def) const;
    double atof(double def) const;
    int IsNum() const;
    int Bool() const;
    int IsTrue() const;
    int IsFalse() const;
    int IsBool() const;
    int LineStyle() const;
    int IsLineStyle() const;
    int Channel() const;
    double DPS() const;
    int Year(int def) const;
    int TableSearch(const tagNAMETABLE table[], int* value) const;
    int TableValueSearch(const tagNAMETABLE table[], int value);

    /// Longest key or table name that TableSearch compares.
    static constexpr int kMaxKeyLength = 4095;

protected:
    /// Empty or "*": the host has no value.
    bool IsNoValue() const;
};

class ZCMCOM_API CZntProperty {
public:
    CZntProperty() = default;
    CZntProperty(const CString& text);  ///< NOLINT
    CZntProperty(const CZntProperty&) = default;
    CZntProperty& operator=(const CZntProperty&) = default;
    virtual ~CZntProperty();

    void Set(CString text);
    CStkStr GetParam(int i) const;
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
    /// Character pos of parameter i (pos equal to the length gives 0); a negative or larger
    /// pos raises CInvalidArgException. A bad parameter index gives 0.
    wchar_t GetAt(int i, int pos) const;
    CString Mid(int i, int first) const;
    void Shift(int n);
    int GetMaxParam() const { return kMaxParam; }

    static constexpr int kMaxParam = 10;

private:
    static bool InRange(int i) { return i >= 0 && i < kMaxParam; }
    void SplitPath(const CString& text);
    void SplitCall(const CString& text, int open);

    CStkStr m_param[kMaxParam];
};

class ZCMCOM_API CStkString : public CStkStr {
public:
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

protected:
    /// Splits the text into the parameters once, on first use.
    CZntProperty& Property();

    int m_bParsed = 0;
    CZntProperty m_Property;
};

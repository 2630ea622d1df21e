// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CArray<T> and CStringArray: the framework's growable arrays.
///
/// Differences from Windows: storage is a std::vector; a position outside the array raises
/// the invalid-argument exception (MFC only asserted in debug builds and corrupted memory
/// in release builds); the grow-by argument of SetSize is accepted and ignored.
#include <vector>

#include "platform/Exception.h"
#include "platform/Object.h"
#include "platform/String.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    CArray(const CArray&) = default;
    CArray& operator=(const CArray&) = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }

    void SetSize(INT_PTR newSize, INT_PTR growBy = -1) {
        (void)growBy;
        if (newSize < 0) AfxThrowInvalidArgException();
        m_data.resize(static_cast<size_t>(newSize));
    }
    void RemoveAll() { m_data.clear(); }
    void FreeExtra() { m_data.shrink_to_fit(); }

    const TYPE& GetAt(INT_PTR i) const { return m_data[Check(i)]; }
    TYPE& GetAt(INT_PTR i) { return m_data[Check(i)]; }
    void SetAt(INT_PTR i, ARG_TYPE v) { m_data[Check(i)] = v; }
    TYPE& ElementAt(INT_PTR i) { return m_data[Check(i)]; }
    const TYPE& operator[](INT_PTR i) const { return GetAt(i); }
    TYPE& operator[](INT_PTR i) { return GetAt(i); }
    const TYPE* GetData() const { return m_data.data(); }
    TYPE* GetData() { return m_data.data(); }

    void SetAtGrow(INT_PTR i, ARG_TYPE v) {
        if (i < 0) AfxThrowInvalidArgException();
        if (i >= GetSize()) m_data.resize(static_cast<size_t>(i) + 1);
        m_data[static_cast<size_t>(i)] = v;
    }
    INT_PTR Add(ARG_TYPE v) {
        m_data.push_back(v);
        return GetSize() - 1;
    }
    INT_PTR Append(const CArray& src) {
        const INT_PTR old = GetSize();
        m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        return old;
    }
    void Copy(const CArray& src) { m_data = src.m_data; }
    void InsertAt(INT_PTR i, ARG_TYPE v, INT_PTR count = 1) {
        if (i < 0 || count < 0) AfxThrowInvalidArgException();
        if (i > GetSize()) m_data.resize(static_cast<size_t>(i));
        m_data.insert(m_data.begin() + i, static_cast<size_t>(count), v);
    }
    void RemoveAt(INT_PTR i, INT_PTR count = 1) {
        if (i < 0 || count < 0 || i + count > GetSize()) AfxThrowInvalidArgException();
        m_data.erase(m_data.begin() + i, m_data.begin() + i + count);
    }

    typename std::vector<TYPE>::iterator begin() { return m_data.begin(); }
    typename std::vector<TYPE>::iterator end() { return m_data.end(); }
    typename std::vector<TYPE>::const_iterator begin() const { return m_data.begin(); }
    typename std::vector<TYPE>::const_iterator end() const { return m_data.end(); }

protected:
    size_t Check(INT_PTR i) const {
        if (i < 0 || i >= GetSize()) AfxThrowInvalidArgException();
        return static_cast<size_t>(i);
    }

    std::vector<TYPE> m_data;
};

class CStringArray : public CArray<CString, LPCTSTR> {
public:
    INT_PTR Add(const CString& s) {
        m_data.push_back(s);
        return GetSize() - 1;
    }
    void SetAt(INT_PTR i, const CString& s) { m_data[Check(i)] = s; }
};

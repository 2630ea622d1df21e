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

/// A growable array of TYPE, indexed from 0; ARG_TYPE is how elements are passed in.
/// Indexes outside the array throw CInvalidArgException* (see the notes above).
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    /// An empty array.
    CArray() = default;
    /// A deep copy.
    CArray(const CArray&) = default;
    /// Replaces the contents with a deep copy.
    CArray& operator=(const CArray&) = default;

    /// The number of elements.
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    /// The number of elements, as GetSize.
    INT_PTR GetCount() const { return GetSize(); }
    /// Whether there are no elements.
    BOOL IsEmpty() const { return m_data.empty(); }
    /// The last index, -1 when empty.
    INT_PTR GetUpperBound() const { return GetSize() - 1; }

    /// Makes the array newSize long, new elements value-initialised; a negative size throws.
    /// growBy is ignored.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1) {
        (void)growBy;
        if (newSize < 0) AfxThrowInvalidArgException();
        m_data.resize(static_cast<size_t>(newSize));
    }
    /// Removes every element.
    void RemoveAll() { m_data.clear(); }
    /// Gives back capacity beyond the size.
    void FreeExtra() { m_data.shrink_to_fit(); }

    /// Element i, checked.
    const TYPE& GetAt(INT_PTR i) const { return m_data[Check(i)]; }
    /// Element i, checked, for change.
    TYPE& GetAt(INT_PTR i) { return m_data[Check(i)]; }
    /// Sets element i (checked) to v.
    void SetAt(INT_PTR i, ARG_TYPE v) { m_data[Check(i)] = v; }
    /// Element i, checked, for change.
    TYPE& ElementAt(INT_PTR i) { return m_data[Check(i)]; }
    /// Element i, checked.
    const TYPE& operator[](INT_PTR i) const { return GetAt(i); }
    /// Element i, checked, for change.
    TYPE& operator[](INT_PTR i) { return GetAt(i); }
    /// The elements in order; valid until the size changes.
    const TYPE* GetData() const { return m_data.data(); }
    /// The elements in order, for change; valid until the size changes.
    TYPE* GetData() { return m_data.data(); }

    /// Sets element i to v, growing the array when i is past its end; a negative i throws.
    void SetAtGrow(INT_PTR i, ARG_TYPE v) {
        if (i < 0) AfxThrowInvalidArgException();
        if (i >= GetSize()) m_data.resize(static_cast<size_t>(i) + 1);
        m_data[static_cast<size_t>(i)] = v;
    }
    /// Appends v and returns its index.
    INT_PTR Add(ARG_TYPE v) {
        m_data.push_back(v);
        return GetSize() - 1;
    }
    /// Appends the elements of src and returns the index of the first of them.
    INT_PTR Append(const CArray& src) {
        const INT_PTR old = GetSize();
        m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        return old;
    }
    /// Replaces the contents with a copy of src's.
    void Copy(const CArray& src) { m_data = src.m_data; }
    /// Inserts count copies of v at i, growing the array first when i is past its end;
    /// a negative i or count throws.
    void InsertAt(INT_PTR i, ARG_TYPE v, INT_PTR count = 1) {
        if (i < 0 || count < 0) AfxThrowInvalidArgException();
        if (i > GetSize()) m_data.resize(static_cast<size_t>(i));
        m_data.insert(m_data.begin() + i, static_cast<size_t>(count), v);
    }
    /// Removes count elements from i; a range not inside the array throws.
    void RemoveAt(INT_PTR i, INT_PTR count = 1) {
        if (i < 0 || count < 0 || i + count > GetSize()) AfxThrowInvalidArgException();
        m_data.erase(m_data.begin() + i, m_data.begin() + i + count);
    }

    /// The first element, for range-based for loops.
    typename std::vector<TYPE>::iterator begin() { return m_data.begin(); }
    /// Past the last element.
    typename std::vector<TYPE>::iterator end() { return m_data.end(); }
    /// The first element, for range-based for loops.
    typename std::vector<TYPE>::const_iterator begin() const { return m_data.begin(); }
    /// Past the last element.
    typename std::vector<TYPE>::const_iterator end() const { return m_data.end(); }

protected:
    /// i as an index, or CInvalidArgException* when it is outside the array.
    size_t Check(INT_PTR i) const {
        if (i < 0 || i >= GetSize()) AfxThrowInvalidArgException();
        return static_cast<size_t>(i);
    }

    std::vector<TYPE> m_data;  ///< the elements
};

/// An array of CString whose Add and SetAt take any text a CString is made from.
class CStringArray : public CArray<CString, LPCTSTR> {
public:
    /// Appends s and returns its index.
    INT_PTR Add(const CString& s) {
        m_data.push_back(s);
        return GetSize() - 1;
    }
    /// Sets element i (checked) to s.
    void SetAt(INT_PTR i, const CString& s) { m_data[Check(i)] = s; }
};

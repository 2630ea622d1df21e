#pragma once
/// @file
/// CZntFile: a line-oriented text file in UTF-16 (either byte order, with a byte-order
/// mark) or the ANSI code page (no mark), read and written as wide text.
///
/// In this library a CString holds UTF-32, so the raw line of ReadLine keeps one code unit
/// per character: one byte (0..255) of an ANSI line, or one 16-bit unit of a UTF-16 line
/// as it lies in the file read little-endian (EndianLine swaps it for big-endian files).
/// Byte counts are the file's bytes; the counts of converted text are characters x 2.
#include "platform/File.h"

class CCameraDB;

class ZCMCOM_API CZntFile : public CStdioFile {
    friend class CCameraDB;

public:
    CZntFile();
    /// Sets the flags and opens; throws CFileException (cause, OS error, name) on failure.
    CZntFile(const wchar_t* name, UINT openFlags, int unicode, int littleEndian);
    ~CZntFile() override;
    CZntFile& operator=(const CZntFile& other);  ///< copies the two flags only

    BOOL Open(const wchar_t* name, UINT openFlags, CFileException* error = nullptr) override;
    BOOL ReadString(CString& line) override;
    void WriteString(const wchar_t* text) override;

    void SetUnicode(int unicode, int littleEndian);
    void GetUnicode(int* unicode, int* littleEndian) const;

protected:
    int GetUTFCode();
    int ReadLine(CString& raw, UINT* byteCount);
    int EndianLine(CString& raw, UINT byteCount);
    UINT MBCStoUTF16(CString& raw, UINT byteCount);
    UINT UTF16toMBCS(CString& text, UINT byteCount);
    UINT InsertCRLF(CString& text, UINT byteCount);
    void WriteBOM(int littleEndian);
    /// Turns a raw line of ReadLine into text, as ReadString does.
    void RawLineToText(CString& raw, UINT byteCount);

    int m_nUnicode;
    int m_nLittleEndian;
};

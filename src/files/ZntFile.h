// SPDX-License-Identifier: LGPL-3.0-or-later
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

/// A text file in UTF-16 or the ANSI code page, read and written line by line.
class ZCMCOM_API CZntFile : public CStdioFile {
    friend class CCameraDB;

public:
    CZntFile();
    /// Sets the flags and opens; throws CFileException (cause, OS error, name) on failure.
    CZntFile(const wchar_t* name, UINT openFlags, int unicode, int littleEndian);
    ~CZntFile() override;
    CZntFile& operator=(const CZntFile& other);  ///< copies the two flags only

    /// Opens in binary mode (line ends are handled here). Writing in UTF-16 starts with
    /// the byte-order mark; reading takes the encoding from the file's mark and skips it.
    /// FALSE on failure, with the cause in *error when given.
    BOOL Open(const wchar_t* name, UINT openFlags, CFileException* error = nullptr) override;
    /// The next line without its line end, in the file's encoding; FALSE at the end.
    BOOL ReadString(CString& line) override;
    /// Writes the text in the file's encoding, LF written as CR LF.
    void WriteString(const wchar_t* text) override;

    /// Sets the encoding the next Open and the reads and writes use: UTF-16 when unicode
    /// is non-zero (little-endian when littleEndian is), else the ANSI code page.
    void SetUnicode(int unicode, int littleEndian);
    /// The two encoding flags; either pointer may be null.
    void GetUnicode(int* unicode, int* littleEndian) const;

protected:
    /// Sets the two encoding flags from the file's byte-order mark, keeping the position;
    /// returns 1.
    int GetUTFCode();
    /// Reads the next raw line (see above) and its length in bytes into *byteCount;
    /// 0 at the end of the file.
    int ReadLine(CString& raw, UINT* byteCount);
    /// Swaps the byte order of each unit of a raw UTF-16 line; 0 for an odd byte count.
    int EndianLine(CString& raw, UINT byteCount);
    /// Converts a raw ANSI line of byteCount bytes to text; returns its size (characters
    /// x 2), 0 when nothing was converted.
    UINT MBCStoUTF16(CString& raw, UINT byteCount);
    /// Converts byteCount / 2 characters of text to ANSI bytes, one per unit; returns the
    /// byte count rounded up to even, 0 when nothing was converted.
    UINT UTF16toMBCS(CString& text, UINT byteCount);
    /// Puts a CR before every LF that lacks one in the first byteCount / 2 characters;
    /// returns the new size (characters x 2).
    UINT InsertCRLF(CString& text, UINT byteCount);
    /// Writes the UTF-16 byte-order mark of the given byte order.
    void WriteBOM(int littleEndian);
    /// Turns a raw line of ReadLine into text, as ReadString does.
    void RawLineToText(CString& raw, UINT byteCount);

    int m_nUnicode;       ///< non-zero for UTF-16
    int m_nLittleEndian;  ///< non-zero for little-endian UTF-16
};

// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CZntFileEx: a text file in Shift-JIS (the ANSI code page, no mark), UTF-16LE or UTF-8
/// (with their marks). UTF files go through the runtime's encoded streams; Shift-JIS is
/// read here through a 1 MiB buffer.
#include <vector>

#include "platform/File.h"

/// A text file in Shift-JIS, UTF-16LE or UTF-8, its encoding detected when read.
class ZCMCOM_API CZntFileEx : public CStdioFile {
public:
    /// The encodings (the encode type of Open and the results of GetEncodeType).
    enum { encodeError = -1, encodeUtf16BE = 0, encodeSJIS = 1, encodeUtf16LE = 2, encodeUtf8 = 3 };

    CZntFileEx();
    ~CZntFileEx() override;

    /// Reading detects the type; writing takes it (1, 2 or 3); read-write uses type 0
    /// and no encoding. 1 or 0; a failed open of a UTF stream throws
    /// CInvalidArgException.
    int Open(const wchar_t* path, UINT openFlags, int encodeType);
    using CStdioFile::Open;
    /// Reads the first bytes of the file: those of a pipe or FIFO are then gone, so for
    /// those open the file and ask GetEncodeTypeOfFile.
    static int GetEncodeType(const wchar_t* path);
    /// The type of the open file; after a refused open for reading, encodeUtf16BE for a
    /// big-endian file, encodeError when it could not be opened.
    int GetEncodeTypeOfFile() const { return m_nEncodeType; }

    /// The next line without its line end, in the file's encoding; FALSE at the end.
    BOOL ReadString(CString& line) override;
    /// Writes the text in the file's encoding.
    void WriteString(CString text);
    /// The framework's form, so that a file used as a CStdioFile writes the same way.
    void WriteString(LPCTSTR text) override;

protected:
    /// Opens a UTF file through an encoded stream of the type in force; 1 or 0.
    int SetFileStream(const wchar_t* path, UINT openFlags);
    /// Opens for reading and detects the encoding from the first bytes; 1 or 0.
    int OpenForReading(const wchar_t* path, UINT openFlags);
    /// The encoding the first count bytes' mark names; encodeSJIS without a mark.
    static int TypeOfMark(const unsigned char* bytes, size_t count);
    /// Reads the next Shift-JIS line without its line end; 0 at the end of the data.
    int ReadStringSJIS(CString& line);
    /// Writes the text converted to Shift-JIS.
    void WriteStringSJIS(CString text);
    /// Reads the next block into the buffer; sets the end-of-data flag on a short read.
    void Refill();

    int m_nEncodeType;           ///< the encoding in force (encode... values)
    ZcmStream* m_pFileStream;    ///< the encoded stream of a UTF file, else null
    std::vector<char> m_buffer;  ///< the Shift-JIS read buffer
    size_t m_pos;                ///< read position in the buffer
    size_t m_end;                ///< end of the valid data
    int m_bEndOfData;            ///< non-zero once the last block was read
};

#pragma once
/// @file
/// CZntFileEx: a text file in Shift-JIS (the ANSI code page, no mark), UTF-16LE or UTF-8
/// (with their marks). UTF files go through the runtime's encoded streams; Shift-JIS is
/// read here through a 1 MiB buffer.
#include <vector>

#include "platform/File.h"

class ZCMCOM_API CZntFileEx : public CStdioFile {
public:
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

    BOOL ReadString(CString& line) override;
    void WriteString(CString text);
    /// The framework's form, so that a file used as a CStdioFile writes the same way.
    void WriteString(LPCTSTR text) override;

protected:
    int SetFileStream(const wchar_t* path, UINT openFlags);
    int OpenForReading(const wchar_t* path, UINT openFlags);
    static int TypeOfMark(const unsigned char* bytes, size_t count);
    int ReadStringSJIS(CString& line);
    void WriteStringSJIS(CString text);
    /// Reads the next block into the buffer; sets the end-of-data flag on a short read.
    void Refill();

    int m_nEncodeType;
    ZcmStream* m_pFileStream;
    std::vector<char> m_buffer;
    size_t m_pos;   ///< read position in the buffer
    size_t m_end;   ///< end of the valid data
    int m_bEndOfData;
};

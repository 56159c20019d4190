#pragma once

#include <QString>

// A file the streaming cache reads and writes at absolute positions: a cache
// segment's file, or the item file of the media stream.
class FileI
{
public:
    virtual ~FileI() = default;
    virtual const QString& path() const = 0;
    // Bytes written, or a negative code.
    virtual qint64 fwrite(const char* data, qint64 length, qint64 offset) = 0;
    // Bytes read, or a negative code.
    virtual qint64 fread(char* buffer, qint64 length, qint64 offset) = 0;
};

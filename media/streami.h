#pragma once

#include <QtGlobal>

// What libmpv asks of a custom stream.
class StreamI
{
public:
    virtual ~StreamI() = default;
    virtual bool open(const char* uri) = 0;
    // Bytes read, 0 at the end, -1 on failure.
    virtual qint64 read(char* buffer, qint64 length) = 0;
    // The new offset, or a negative value.
    virtual qint64 seek(qint64 offset) = 0;
    virtual qint64 size() = 0;
    virtual void close() = 0;
};

#pragma once

#include <QVariant>

#include <mpv/client.h>

// QVariant <-> mpv_node conversion and the command and property calls the
// player makes, every value travelling as an MPV_FORMAT_NODE.
namespace mpv {
namespace qt {

// What a failed call answers: the libmpv error code.
struct ErrorReturn
{
    int error = 0;
    ErrorReturn() = default;
    explicit ErrorReturn(int err) : error(err) {}
};

// A node tree built from a QVariant (strings, bools, numbers, lists, maps);
// owns its memory.
class NodeBuilder
{
public:
    explicit NodeBuilder(const QVariant& v);
    ~NodeBuilder();
    NodeBuilder(const NodeBuilder&) = delete;
    NodeBuilder& operator=(const NodeBuilder&) = delete;
    mpv_node* node() { return &m_node; }

private:
    void set(mpv_node* dst, const QVariant& src);
    void free(mpv_node* n);
    mpv_node m_node;
};

QVariant nodeToVariant(const mpv_node* node);

bool isError(const QVariant& v);
// The libmpv error code a call answered, 0 when it did not fail.
int getError(const QVariant& v);

// The command's result, or an ErrorReturn.
QVariant command(mpv_handle* ctx, const QVariant& args);
// 0 on success, else the libmpv error code.
int set_property(mpv_handle* ctx, const QString& name, const QVariant& v);
int set_option(mpv_handle* ctx, const QString& name, const QVariant& v);
// The value, or an ErrorReturn.
QVariant get_property(mpv_handle* ctx, const QString& name);

} // namespace qt
} // namespace mpv

Q_DECLARE_METATYPE(mpv::qt::ErrorReturn)

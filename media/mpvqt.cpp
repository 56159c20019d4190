#include "media/mpvqt.h"

#include <cstring>

#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace mpv {
namespace qt {

namespace {
char* dupUtf8(const QString& s)
{
    const QByteArray b = s.toUtf8();
    char* out = new char[b.size() + 1];
    std::memcpy(out, b.constData(), static_cast<size_t>(b.size()) + 1);
    return out;
}

bool isList(const QVariant& v)
{
    return v.type() == QVariant::List || v.type() == QVariant::StringList;
}
}

NodeBuilder::NodeBuilder(const QVariant& v)
{
    set(&m_node, v);
}

NodeBuilder::~NodeBuilder()
{
    free(&m_node);
}

void NodeBuilder::set(mpv_node* dst, const QVariant& src)
{
    std::memset(dst, 0, sizeof(*dst));
    switch (static_cast<int>(src.type())) {
    case QMetaType::QString:
        dst->format = MPV_FORMAT_STRING;
        dst->u.string = dupUtf8(src.toString());
        return;
    case QMetaType::Bool:
        dst->format = MPV_FORMAT_FLAG;
        dst->u.flag = src.toBool() ? 1 : 0;
        return;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        dst->format = MPV_FORMAT_INT64;
        dst->u.int64 = src.toLongLong();
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        dst->format = MPV_FORMAT_DOUBLE;
        dst->u.double_ = src.toDouble();
        return;
    default:
        break;
    }
    if (isList(src) || src.type() == QVariant::Map) {
        const bool map = src.type() == QVariant::Map;
        auto* list = new mpv_node_list;
        std::memset(list, 0, sizeof(*list));
        dst->format = map ? MPV_FORMAT_NODE_MAP : MPV_FORMAT_NODE_ARRAY;
        dst->u.list = list;
        if (map) {
            const QVariantMap m = src.toMap();
            list->num = m.size();
            list->values = new mpv_node[m.size()];
            list->keys = new char*[m.size()];
            int i = 0;
            for (auto it = m.cbegin(); it != m.cend(); ++it, ++i) {
                list->keys[i] = dupUtf8(it.key());
                set(&list->values[i], it.value());
            }
        } else {
            const QVariantList l = src.toList();
            list->num = l.size();
            list->values = new mpv_node[l.size()];
            for (int i = 0; i < l.size(); ++i)
                set(&list->values[i], l.at(i));
        }
        return;
    }
    if (src.canConvert<QString>() && src.isValid()) {
        dst->format = MPV_FORMAT_STRING;
        dst->u.string = dupUtf8(src.toString());
        return;
    }
    dst->format = MPV_FORMAT_NONE;
}

void NodeBuilder::free(mpv_node* n)
{
    switch (n->format) {
    case MPV_FORMAT_STRING:
        delete[] n->u.string;
        break;
    case MPV_FORMAT_NODE_ARRAY:
    case MPV_FORMAT_NODE_MAP: {
        mpv_node_list* list = n->u.list;
        for (int i = 0; i < list->num; ++i) {
            if (list->keys)
                delete[] list->keys[i];
            free(&list->values[i]);
        }
        delete[] list->keys;
        delete[] list->values;
        delete list;
        break;
    }
    default:
        break;
    }
    n->format = MPV_FORMAT_NONE;
}

QVariant nodeToVariant(const mpv_node* node)
{
    switch (node->format) {
    case MPV_FORMAT_STRING:
        return QString::fromUtf8(node->u.string);
    case MPV_FORMAT_FLAG:
        return node->u.flag != 0;
    case MPV_FORMAT_INT64:
        return QVariant(static_cast<qlonglong>(node->u.int64));
    case MPV_FORMAT_DOUBLE:
        return node->u.double_;
    case MPV_FORMAT_NODE_ARRAY: {
        QVariantList l;
        for (int i = 0; i < node->u.list->num; ++i)
            l.append(nodeToVariant(&node->u.list->values[i]));
        return l;
    }
    case MPV_FORMAT_NODE_MAP: {
        QVariantMap m;
        for (int i = 0; i < node->u.list->num; ++i)
            m.insert(QString::fromUtf8(node->u.list->keys[i]), nodeToVariant(&node->u.list->values[i]));
        return m;
    }
    default:
        return QVariant();
    }
}

bool isError(const QVariant& v)
{
    return v.userType() == qMetaTypeId<ErrorReturn>();
}

int getError(const QVariant& v)
{
    return isError(v) ? v.value<ErrorReturn>().error : 0;
}

QVariant command(mpv_handle* ctx, const QVariant& args)
{
    if (!ctx)
        return QVariant::fromValue(ErrorReturn(MPV_ERROR_UNINITIALIZED));
    NodeBuilder node(args);
    mpv_node res;
    const int err = mpv_command_node(ctx, node.node(), &res);
    if (err < 0)
        return QVariant::fromValue(ErrorReturn(err));
    const QVariant out = nodeToVariant(&res);
    mpv_free_node_contents(&res);
    return out;
}

int set_property(mpv_handle* ctx, const QString& name, const QVariant& v)
{
    if (!ctx)
        return MPV_ERROR_UNINITIALIZED;
    NodeBuilder node(v);
    return mpv_set_property(ctx, name.toUtf8().constData(), MPV_FORMAT_NODE, node.node());
}

int set_option(mpv_handle* ctx, const QString& name, const QVariant& v)
{
    if (!ctx)
        return MPV_ERROR_UNINITIALIZED;
    NodeBuilder node(v);
    return mpv_set_option(ctx, name.toUtf8().constData(), MPV_FORMAT_NODE, node.node());
}

QVariant get_property(mpv_handle* ctx, const QString& name)
{
    if (!ctx)
        return QVariant::fromValue(ErrorReturn(MPV_ERROR_UNINITIALIZED));
    mpv_node node;
    const int err = mpv_get_property(ctx, name.toUtf8().constData(), MPV_FORMAT_NODE, &node);
    if (err < 0)
        return QVariant::fromValue(ErrorReturn(err));
    const QVariant out = nodeToVariant(&node);
    mpv_free_node_contents(&node);
    return out;
}

} // namespace qt
} // namespace mpv

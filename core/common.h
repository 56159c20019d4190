#pragma once

#include <QObject>

// File-category constants and enums shared with QML ("Tidewell.Core").
class Common : public QObject
{
    Q_OBJECT
public:
    explicit Common(QObject* parent = nullptr) : QObject(parent) {}

    // Categories of the media views; the device knows them by label
    // (getFileTypeName).
    enum FileType {
        FT_All = 0,
        FT_Image = 1,
        FT_Video = 2,
        FT_Audio = 3,
        FT_Doc = 4,
        FT_Zip = 5,
        FT_Other = 6,
        FT_Love = 7,
    };
    Q_ENUM(FileType)

    // Kind of one item, from its suffix (getMediaType); drives the icon.
    enum MediaType {
        MT_Samba = 4,
        MT_Folder = 5,
        MT_Image = 6,
        MT_Video = 7,
        MT_Music = 8,
        MT_Word = 9,
        MT_Excel = 10,
        MT_PPT = 11,
        MT_Pdf = 12,
        MT_Txt = 13,
        MT_Zip = 14,
        MT_Apk = 15,
        MT_Exe = 16,
        MT_Torrent = 17,
        MT_Code = 18,
        MT_Other = 21,
        MT_Unknown = 22,
    };
    Q_ENUM(MediaType)

    enum DocType {
        DT_All = 0,
        DT_Word = 1,
        DT_Excel = 2,
        DT_PPT = 3,
        DT_Pdf = 4,
        DT_Txt = 5,
    };
    Q_ENUM(DocType)

    // Storage attached to the device.
    enum ExternalType {
        ET_Usb = 1,
        ET_Samba = 2,
        ET_Sd = 3,
    };
    Q_ENUM(ExternalType)
};

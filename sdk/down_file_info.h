#pragma once

#include <cstdint>
#include <string>

namespace sdk { namespace cores { namespace model {

// What to download and where to. Fields in the order callers fill them.
struct down_file_info
{
    enum kind : std::int32_t {
        kind_device_file = 0,   // a file of the device's storage, by id
        kind_disk_file = 1,     // a file of a disk attached to the device, by path
        kind_url = 3,           // a plain URL (cloud pictures and the like)
    };

    std::int32_t type = kind_device_file;   // one of kind
    std::int32_t file_id = 0;               // kind_device_file: the file's id
    std::int32_t mode = 0;                  // 2: the file itself; 0, 1: small, medium thumbnail
    std::int32_t file_category = 0;         // the file's category (kind_device_file)
    std::string ower;                       // owner account of the file (kind_device_file)
    std::string file_md5;                   // kind_device_file
    std::string usb_path;                   // kind_disk_file: path on the disk, percent-encoded
    std::string url;                        // kind_disk_file: path on the device; kind_url: the URL
    std::string save_path;                  // file variants: the local target file
    std::int64_t offset = 0;                // stream variants: first byte wanted
    std::int32_t share_type = 0;            // number of the external link (0: none)
    std::string share_id;                   // external link id
    std::string extracted_code;             // external link extraction code
};

} } }

#pragma once

#include <cstdint>
#include <string>

namespace sdk { namespace cores { namespace model {

// What to upload and where to on the device. Fields in the order callers
// fill them.
struct up_file_info
{
    std::string file_name;          // name on the device
    std::int64_t file_size = 0;     // bytes of the local file
    std::string file_md5;           // may be empty
    std::string file_path;          // the local file (UTF-8)
    std::string file_ext;           // unused, empty
    std::int64_t create_time = 0;   // ms since the epoch
    std::uint8_t is_folder = 0;     // 0: a file
    std::int32_t dir_id = 0;        // target folder id on the device (0: root)
    std::int32_t is_cover = 0;      // 1: replace a file of the same name
    std::uint8_t is_external = 0;   // 1: target is external_path on an attached disk
    std::uint8_t is_safe_box = 0;   // 1: target lies in the safe box
    std::string external_path;      // target folder on an attached disk
    std::string disk_serial;        // disk of the target folder
    std::string client_type;        // "PC"
    std::int32_t upload_type = 0;   // 1: target is a public group's space
    std::int32_t group_id = 0;      // public group of the target
    std::int64_t modify_time = 0;   // ms since the epoch
    std::int32_t app_type = 0;      // 3 for the desktop client
    std::string task_id;            // "" first time; the device's id to continue
    std::int64_t offset = 0;        // unused (0): the device says where to go on
    std::int64_t total_size = 0;    // bytes to send in all (= file_size)
};

} } }

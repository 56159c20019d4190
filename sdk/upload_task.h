#pragma once

#include <memory>
#include <string>

#include "sdk/task_worker.h"
#include "sdk/transfer_route.h"
#include "sdk/up_file_info.h"
#include "sdk/upload.h"
#include "sdk/upload_observer.h"

namespace sdk { namespace cores { namespace tidewell {

class upload_job;

// The library's upload task: a worker thread creates (or continues) the
// device's upload task and sends the rest of the file.
class upload_task : public upload
{
public:
    upload_task(const model::up_file_info& info, upload_observer* observer,
                const transfer_route& route);
    ~upload_task() override;

    bool start() override;
    void stop() override;
    task_interface* observer() const override;
    std::string task_id() const override;

private:
    std::shared_ptr<upload_job> m_job;
    task_worker m_worker;
};

} } }

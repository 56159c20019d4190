#pragma once

#include <memory>
#include <string>

#include "sdk/down_file_info.h"
#include "sdk/download.h"
#include "sdk/download_observer.h"
#include "sdk/task_worker.h"
#include "sdk/transfer_route.h"

namespace sdk { namespace cores { namespace tidewell {

class download_job;

// The library's download task: a worker thread runs one HTTP GET (file or
// stream variant) and reports to the observer.
class download_task : public download
{
public:
    download_task(const model::down_file_info& info, download_observer* observer,
                  const transfer_route& route, bool stream);
    ~download_task() override;

    bool start() override;
    void stop() override;
    task_interface* observer() const override;
    std::string save_path() const override;

private:
    std::shared_ptr<download_job> m_job;
    task_worker m_worker;
};

} } }

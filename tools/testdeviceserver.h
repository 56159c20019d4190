#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A device and cloud stand-in speaking the protocol of sdk/PROTOCOL.md over
// real HTTP on 127.0.0.1. It serves a folder on disk as the device's storage
// (stable ids per relative path), answers the listing and folder commands,
// downloads with ranges and resumable uploads, and lets a test register
// answers for any other command or cloud path and inject faults. Plain C++,
// thread-safe; each listener runs on its own threads.
class TestDeviceServer
{
public:
    // One received request, as logged.
    struct Request
    {
        std::string method;
        std::string path;       // without query
        std::string query;      // raw query text ("" when none)
        std::string command;    // device command, "" for other requests
        std::string range;      // Range header, "" when none
        std::string body;       // JSON bodies in full; upload data as "<N bytes>"
        std::string token;      // X-Token or X-Link-Token header
        int listener = 0;       // 0 local listener, 1 remote listener
    };

    // root: the storage folder (created when missing). Ids live in
    // root/.tw_ids, partial uploads in root/.tw_uploads; both are hidden
    // from listings.
    explicit TestDeviceServer(const std::string& root);
    ~TestDeviceServer();

    TestDeviceServer(const TestDeviceServer&) = delete;
    TestDeviceServer& operator=(const TestDeviceServer&) = delete;

    // Listens on 127.0.0.1:port (0: an ephemeral port). False on failure.
    bool start(int port = 0);
    // A second listener for the remote route, same storage and state.
    bool startRemote(int port = 0);
    int port() const;
    int remotePort() const;
    // Stops both listeners, waking stalled transfers. Safe to call twice.
    void stop();
    // Refuses new connections on one listener (0 local, 1 remote) without
    // forgetting its state; start()/startRemote() bring it back.
    void stopListener(int listener);

    std::string root() const;
    std::string deviceId() const;
    void setDeviceId(const std::string& id);
    // Token a request must carry (X-Token or X-Link-Token); "" accepts any.
    void setToken(const std::string& token);
    // Keeps groups, shares, favourites, links and device tasks in
    // root/.tw_state.json, as a device keeps them across restarts: loads
    // the file now (true when there was one) and writes it after every
    // command that changed something.
    bool setPersistent(bool persistent);
    // Writes the state file now (after state set through this class).
    void saveState();
    // Link tokens are derived from this secret (unguessable without it);
    // without one a link's token is "link-" followed by its share id.
    void setLinkSecret(const std::string& secret);

    // Ids. The root folder has the root id (0 unless set). Paths are relative
    // to root with '/' separators ("" = root, "a/b.txt").
    void setRootId(std::int64_t id);
    std::int64_t rootId() const;
    std::int64_t idForPath(const std::string& relPath);   // made on first use
    std::string pathForId(std::int64_t id) const;         // "" when unknown
    // Writes a file under root (folders made as needed) and returns its id.
    std::int64_t addFile(const std::string& relPath, const std::string& content);
    // Makes a sparse/zero-filled file of size bytes, or pseudo-random bytes
    // when random is true (reproducible from seed); returns its id.
    std::int64_t addGeneratedFile(const std::string& relPath, std::int64_t size,
                                  bool random = true, std::uint32_t seed = 1);
    std::int64_t addFolder(const std::string& relPath);
    std::string absolutePath(const std::string& relPath) const;

    // Canned answers: the whole JSON text answered for a device command (any
    // command, built-in ones included), or for a cloud path ("/api/v2/...").
    void setCommandAnswer(const std::string& command, const std::string& json);
    void setCloudAnswer(const std::string& path, const std::string& json);
    // One-time answers for a command, used in the order queued and before
    // the canned or built-in answer; clearAnswers() drops them too.
    void queueCommandAnswer(const std::string& command, const std::string& json);
    void clearAnswers();

    // Faults. match selects the requests: a device command name, a path
    // prefix ("/device/download", "/device/upload", "/api/v2/...") or ""
    // for every request. count: how many requests it hits (-1: all).
    // message: the text of the JSON envelope that goes with the status.
    void failWithStatus(int httpStatus, int count = -1, const std::string& match = "",
                        const std::string& message = "injected failure");
    void answerMalformed(int count = -1, const std::string& match = "");
    // Answers 200 with an empty body.
    void answerEmpty(int count = -1, const std::string& match = "");
    // Closes the connection after the answer's head, before its body.
    void dropAnswer(int count = -1, const std::string& match = "");
    void delayAnswer(int ms, int count = -1, const std::string& match = "");
    // Transfers (download bodies and upload data): the connection is closed
    // after `bytes` of body bytes.
    void cutAfter(std::int64_t bytes, int count = 1);
    // Transfers stop moving after `bytes` bytes until stop()/clearFaults().
    void stallAfter(std::int64_t bytes, int count = 1);
    // Upload creation is refused with the given device error code.
    void refuseUpload(int errCode, const std::string& message = "refused", int count = -1);
    // Transfer bodies move at most this many bytes per second (0: no limit).
    void throttle(std::int64_t bytesPerSecond);
    void clearFaults();

    // Request log, oldest first.
    std::vector<Request> requests() const;
    std::vector<Request> requestsFor(const std::string& match) const;
    void clearRequests();

    // Feature state for tests to seed and read (one section per feature
    // file; each accessor is defined in that file).

    // -- public groups --
    // Serial of the device's personal disk, named with the group list.
    static constexpr const char* kPersonalDisk = "disk-1";
    // A group owned (right 0) by owner, with its folder "groups/<id>"; its id.
    int addPubGroup(const std::string& name, const std::string& owner,
                    const std::string& diskSerial = kPersonalDisk);
    // Adds the member or changes its right (0 manager, 1 editor, 2 browse).
    bool setPubGroupMember(int groupId, const std::string& accessId, int authority);
    int pubGroupCount() const;
    std::string pubGroupName(int groupId) const;          // "" when none
    std::string pubGroupDisk(int groupId) const;          // its disk's serial
    int pubGroupAuthority(int groupId, const std::string& accessId) const;   // -1: no member

    // -- shares --
    // Users of the device (names and pictures in group and share answers)
    // and its user groups for the share picker.
    void addDeviceUser(const std::string& accessId, const std::string& markName,
                       const std::string& headImg = "");
    void addUserGroup(int gId, const std::string& name, const std::vector<std::string>& members);
    // Shares an item as sharer, with users (empty: with all); false when it does not exist.
    bool shareFile(std::int64_t fileId, const std::string& sharer,
                   const std::vector<std::string>& users = {});
    bool isShared(std::int64_t fileId) const;
    // Items per page of the share lists (60 by default).
    void setSharePageSize(int size);

    // -- media and thumbnails --
    // Thumbnail downloads (mode 1 small, 3 medium) of a picture answer it
    // scaled; each waits ms first (0 by default).
    void setThumbnailLatency(int ms);
    // Most thumbnail downloads in progress at once since the last reset.
    int thumbnailPeak() const;
    void resetThumbnailPeak();
    // The thumbnail the device answers for a stored picture ("" when the
    // file is not a picture).
    std::string thumbnailBytes(const std::string& relPath, int mode);
    // Marks a stored file as a favourite (the "love" media category).
    void setMediaLoved(const std::string& relPath, bool loved);

    // -- external links --
    // A link to the folder relPath (made when missing), created by the
    // device's user; code "" means the link needs none. The cloud answers
    // getInfo/getToken/report for it and the device lists it. Returns the
    // link's id on the device.
    // createdMs: the link's creation time (0: now).
    std::int64_t addShareLink(const std::string& shareId, const std::string& code,
                              const std::string& title, const std::string& relPath,
                              std::int64_t createdMs = 0);
    bool hasShareLink(const std::string& shareId) const;
    // The link URL the device hands out for a share id.
    static std::string shareLinkUrl(const std::string& shareId);
    int shareLinkReports(const std::string& shareId) const;

    // -- device tasks --
    // Copy jobs (operationType 1 moves, others copies; status 1 running,
    // 2 failed) and failed copy jobs; each returns the job's curOperId.
    std::int64_t addCopyJob(const std::string& name, int operationType = 0, int status = 1);
    std::int64_t addCopyFailure(const std::string& name, const std::string& tagFile, int type,
                                int failcode, const std::string& groupName = "", int num = 1);
    std::size_t copyJobCount() const;
    std::vector<std::int64_t> copyFailureIds() const;
    // Internet download tasks (status 0 waiting ... 3 paused, 4 moving; 5
    // failed and above are finished); returns the downId.
    std::string addBtTask(const std::string& fileName, int status, std::int64_t size = 0,
                          int isFile = 1, int exception = 0);
    std::map<std::string, int> btTaskStates() const;   // downId -> status

    class Impl;

private:
    std::unique_ptr<Impl> d;
};

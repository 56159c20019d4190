#pragma once

#include <string>

class TestDeviceServer;

// The sample library a new user sees on the bundled device: pictures over
// several days (one animated), a short video, music, documents, nested
// folders, a public group with members and files, files shared by another
// user and an external link with a code. Files are made once (a later start
// finds them); so is the device's state (group, shares, favourites, link)
// when the server keeps it across restarts; its users are set every start.
class SampleLibrary
{
public:
    static constexpr const char* kOwner = "owner";
    static constexpr const char* kOwnerName = "Owner";
    static constexpr const char* kLinkShareId = "sample-link-1";
    static constexpr const char* kLinkCode = "tw42";

    // Writes the files under the server's root when missing; false when a
    // file could not be written. Needs a QGuiApplication (pictures are drawn).
    static bool writeFiles(TestDeviceServer& server);
    // Users, and unless the state was restored, group, shares, favourite
    // and link; call after writeFiles.
    static void seedState(TestDeviceServer& server, bool stateRestored = false);
    // Whole set-up in one call.
    static bool populate(TestDeviceServer& server, bool stateRestored = false);
};

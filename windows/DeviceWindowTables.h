#pragma once
// What tells the two device windows apart besides their device model: their
// captions and when their load stops counting control changes as the user's.

namespace tavo {

struct DeviceModel;

struct DeviceWindowTables {
    const DeviceModel* model;  // register map, command words, demo replies

    // Window captions by demo mode and modified flag, each one whole text.
    const char* captionPlain;
    const char* captionModified;
    const char* captionDemo;
    const char* captionDemoModified;
    const char* exitCaption;  // File > Exit

    bool loadingClearedAtLoad;  // matrix: end of load; relay: end of the first read
};

}  // namespace tavo

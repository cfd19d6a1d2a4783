#pragma once
// The network module (libvork_network.so): the HTTP downloader with Qt
// Network, loaded at the first download, so that courses that never
// download do not load the network and TLS libraries at every start.

#include <memory>
#include <string>

#include "install/http_download.h"

namespace vork {

// The module's entry point: a started download, or null with the message in
// *error. Nothing is thrown across the module's edge.
using NetworkModuleFunction = HttpDownload* (*)(const std::string* url, const std::string* file_name,
                                                std::string* error);
constexpr const char* kNetworkModule = "libvork_network.so";
constexpr const char* kNetworkEntry = "VorkStartHttpDownload";

// Loads the module once and starts a download as the module's downloader
// does (with its default size limit). Throws EVkError when the
// module cannot be loaded or the file cannot be opened.
std::unique_ptr<HttpDownload> StartHttpDownload(const std::string& url, const std::string& file_name);

}  // namespace vork

// The network module's entry point (network_module.h).

#include <exception>
#include <type_traits>

#include "install/http_downloader.h"
#include "install/network_module.h"

extern "C" __attribute__((visibility("default"))) vork::HttpDownload* VorkStartHttpDownload(
    const std::string* url, const std::string* file_name, std::string* error) {
  try {
    return new vork::TVkHTTPDownloader(*url, *file_name);
  } catch (const std::exception& failure) {
    *error = failure.what();
  } catch (...) {
    *error = "Cannot start downloading " + *url;
  }
  return nullptr;
}

// The module and its entry's type must agree.
static_assert(std::is_same_v<decltype(&VorkStartHttpDownload), vork::NetworkModuleFunction>);

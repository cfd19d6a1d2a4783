// The player's side of the network module (network_module.h).

#include "install/network_module.h"
#include "platform/errors.h"
#include "platform/on_demand_library.h"

namespace vork {

std::unique_ptr<HttpDownload> StartHttpDownload(const std::string& url, const std::string& file_name) {
  static OnDemandLibrary module(OnDemandLibrary::BesideExecutable(kNetworkModule), "downloading course parts");
  static const auto start = module.Find<NetworkModuleFunction>(kNetworkEntry);
  std::string error;
  std::unique_ptr<HttpDownload> downloader(start(&url, &file_name, &error));
  if (!downloader) throw EVkError(error);
  return downloader;
}

}  // namespace vork

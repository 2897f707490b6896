#include "host/document/host_document_data.h"

#include "framework/object/query_chain.h"
#include "host/document/host_binary_streams.h"
#include "host_api/component_data.h"

namespace {

class Sink : public IZelComponentDataSink, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostComponentDataSink";
  Sink() : stream_(new HostBinaryOutStream(kDocumentFormatVersion)) {}
  IZelBinaryOutStream* outStream() override { return stream_.get(); }
  const std::vector<uint8_t>& bytes() const { return stream_->bytes(); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelComponentDataSink>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  IPtr<HostBinaryOutStream> stream_;
};

class Source : public IZelComponentDataSource, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostComponentDataSource";
  explicit Source(std::vector<uint8_t> bytes) : stream_(new HostBinaryInStream(std::move(bytes))) {}
  IZelBinaryInStream* inStream() override { return stream_.get(); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelComponentDataSource>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  IPtr<HostBinaryInStream> stream_;
};

// The service's part for the interface, held in keep, or null.
template <class Interface>
Interface* servicePart(HostRoot& root, const std::string& name, IPtr<IZelUnknown>& keep) {
  keep = root.serviceObject(name);
  if (!keep) return nullptr;
  void* part = nullptr;
  keep->queryInterface(Interface::interfaceName, &part, false);
  return static_cast<Interface*>(part);
}

}  // namespace

DocumentData saveDocumentData(HostRoot& root, const std::vector<std::string>& services) {
  DocumentData data;
  for (const std::string& name : services) {
    IPtr<IZelUnknown> keep;
    IZelComponentDataWriter* writer = servicePart<IZelComponentDataWriter>(root, name, keep);
    if (!writer) continue;
    IPtr<Sink> sink(new Sink);
    if (writer->write(sink.get())) data[name] = sink->bytes();
  }
  return data;
}

std::map<std::string, bool> openDocumentData(HostRoot& root, const DocumentData& data,
                                             const std::vector<std::string>& services) {
  std::map<std::string, bool> results;
  for (const std::string& name : services) {
    IPtr<IZelUnknown> keep;
    auto block = data.find(name);
    if (block == data.end()) {
      IZelComponentDataReaderV2* defaults = servicePart<IZelComponentDataReaderV2>(root, name, keep);
      if (defaults) defaults->loadDefaults();
      results[name] = defaults != nullptr;
      continue;
    }
    IZelComponentDataReader* reader = servicePart<IZelComponentDataReader>(root, name, keep);
    IPtr<Source> source(new Source(block->second));
    results[name] = reader && reader->read(source.get());
  }
  return results;
}

#pragma once

// A module's own data inside a host document. When the host saves a document it asks each component-data
// writer to write its block into an output stream; when it opens one, it hands each reader its block, or asks
// it to load its defaults when the document has none.

#include "host_api/binary_stream.h"
#include "host_api/zel_unknown.h"

// Hands out the stream a reader reads its block from.
class IZelComponentDataSource : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelComponentDataSource";
  virtual IZelBinaryInStream* inStream() = 0;
};

// Hands out the stream a writer writes its block into.
class IZelComponentDataSink : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelComponentDataSink";
  virtual IZelBinaryOutStream* outStream() = 0;
};

class IZelComponentDataReader : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelComponentDataReader";
  // Reads and applies the block; false for a foreign or damaged block.
  virtual bool read(IZelComponentDataSource* source) = 0;
};

class IZelComponentDataReaderV2 : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelComponentDataReaderV2";
  // A document without the block: the defaults.
  virtual void loadDefaults() = 0;
};

class IZelComponentDataWriter : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelComponentDataWriter";
  virtual bool write(IZelComponentDataSink* sink) = 0;
};

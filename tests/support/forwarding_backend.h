#pragma once
// A backend double's base: passes every call to another backend, so that a
// double overrides only what it changes (a rewritten reply, a counted open).
// What crosses is recorded by a VectorTrace on the transport, not here.
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/device/hid_backend.h"

namespace korvex48::testing {

class ForwardingBackend : public HidBackend {
 public:
  // `inner` is not owned and must outlive the double.
  explicit ForwardingBackend(HidBackend& inner) : inner_(inner) {}

  std::vector<std::string> ListInterfaces() override { return inner_.ListInterfaces(); }
  DeviceHandle Open(const std::string& path, HidError* error) override {
    return inner_.Open(path, error);
  }
  void Close(DeviceHandle handle) override { inner_.Close(handle); }
  bool QueryInfo(DeviceHandle handle, HidInterfaceInfo* info) override {
    return inner_.QueryInfo(handle, info);
  }
  bool SetFeature(DeviceHandle handle, std::span<const std::uint8_t> report,
                  HidError* error = nullptr) override {
    return inner_.SetFeature(handle, report, error);
  }
  bool GetFeature(DeviceHandle handle, std::span<std::uint8_t> report,
                  HidError* error = nullptr) override {
    return inner_.GetFeature(handle, report, error);
  }
  bool Claim(DeviceHandle handle, InterfaceHolder* holder) override {
    return inner_.Claim(handle, holder);
  }
  bool ClaimMouse(std::uint16_t vendor_id, std::uint16_t product_id,
                  InterfaceHolder* holder) override {
    return inner_.ClaimMouse(vendor_id, product_id, holder);
  }
  void ReleaseMouse() override { inner_.ReleaseMouse(); }
  std::optional<std::pair<std::uint16_t, std::uint16_t>> PeekIdentifiers(
      const std::string& path) override {
    return inner_.PeekIdentifiers(path);
  }

 private:
  HidBackend& inner_;
};

}  // namespace korvex48::testing

#pragma once
// Registration of the QTest classes run by gui_test_main.cpp.
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace korvex48::gui::test {

using Factory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<Factory>& Registry() {
  static std::vector<Factory> factories;
  return factories;
}

template <typename T>
struct Register {
  Register() {
    Registry().push_back([] { return std::make_unique<T>(); });
  }
};

}  // namespace korvex48::gui::test

#define KORVEX48_GUI_TEST(Class) static ::korvex48::gui::test::Register<Class> register_##Class;

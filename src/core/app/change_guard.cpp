// The larger changes' backups as the flows see them: begun, ended, cut.
#include "core/app/change_guard.h"

#include "core/app/app_core.h"

namespace korvex48 {

std::string CutReport::LostLine() const {
  if (lost.empty())
    return known ? "the mouse lost nothing it held before"
                 : "what the mouse holds now is not known";
  std::string line = known ? "the mouse no longer holds " : "the mouse may no longer hold ";
  for (std::size_t i = 0; i < lost.size(); ++i) {
    if (i > 0) line += i + 1 == lost.size() ? " and " : ", ";
    line += lost[i];
  }
  return line + " as you had " + (lost.size() == 1 ? "it" : "them");
}

ConfigImage AppCore::MouseImage() const {
  ConfigImage image = working_;
  image.parameters = page_.parameters;
  image.profiles = page_.profiles;
  return image;
}

bool AppCore::BeginChange(const ChangeLabel& label, const ConfigImage* target) {
  if (change_depth_ > 0) {
    ++change_depth_;
    return true;
  }
  backup_problem_.clear();
  last_cut_.reset();
  change_cut_ = false;
  if (guard_) {
    std::string problem;
    if (!image_read_) {
      problem = "the mouse's configuration was not read whole, so no backup of it can be made";
    } else if (!guard_->Begin(label, MouseImage(), target, Layout(), Session().PrimaryStorage,
                              &problem)) {
      if (problem.empty()) problem = "the backup could not be written";
    } else {
      problem.clear();
    }
    if (!problem.empty()) {
      backup_problem_ = problem;
      std::string text = problem + "; nothing was changed.";
      text[0] = static_cast<char>(text[0] - 'a' + 'A');
      ui_.ShowMessage({{}, text, MessageBoxKind::kPlain, {}});
      return false;
    }
  }
  change_depth_ = 1;
  return true;
}

void AppCore::EndChange(bool finished) {
  if (change_depth_ == 0) return;
  if (--change_depth_ > 0) return;
  if (guard_ && finished && !change_cut_) guard_->Finished();
}

void AppCore::ChangeWasCut(bool read_back) {
  if (change_depth_ == 0 || change_cut_) return;
  change_cut_ = true;
  if (!guard_) return;
  const ConfigImage now = MouseImage();
  last_cut_ = guard_->Cut(read_back ? &now : nullptr);
  if (last_cut_) ui_.OfferRecovery(*last_cut_);
}

void AppCore::CheckUnfinishedChange() {
  if (!guard_ || change_depth_ > 0 || !image_read_) return;
  if (auto cut = guard_->Unfinished(MouseImage(), Layout(), Session().PrimaryStorage)) {
    last_cut_ = std::move(cut);
    ui_.OfferRecovery(*last_cut_);
  }
}

}  // namespace korvex48

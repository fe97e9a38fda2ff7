#include "platform/RecordingUi.h"

namespace kov {

namespace {
class RecordingProgress : public ProgressWindow {
public:
    explicit RecordingProgress(std::vector<std::string>& log) : log_(log) {
        log_.push_back("create");
    }
    ~RecordingProgress() override { log_.push_back("destroy"); }
    void SetRange(int maximum) override {
        if (maximum >= 1) log_.push_back("range " + std::to_string(maximum));
    }
    void SetPos(int position) override {
        if (position >= 0) log_.push_back("pos " + std::to_string(position));
    }
    void SetText(const std::string& text) override { log_.push_back("text " + text); }
    void SetTitle(const std::string& title) override { log_.push_back("title " + title); }

private:
    std::vector<std::string>& log_;
};
}  // namespace

Answer RecordingUi::ShowMessage(const std::string& text, const std::string& caption, Icon icon,
                                Buttons buttons) {
    messages.push_back({text, caption, icon, buttons});
    switch (buttons) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return questionAnswer;
        case Buttons::OkCancel:
            return questionAnswer == Answer::No ? Answer::Cancel : Answer::Ok;
        case Buttons::RetryCancel:
            return Answer::Cancel;
        case Buttons::Ok:
            break;
    }
    return Answer::Ok;
}

std::unique_ptr<ProgressWindow> RecordingUi::CreateProgress() {
    return std::make_unique<RecordingProgress>(progress);
}

}  // namespace kov

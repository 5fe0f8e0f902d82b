#include "companions/common/Following.h"

#include <algorithm>

#include "companions/common/Controls.h"
#include "companions/common/Drawing.h"
#include "companions/common/Scene.h"
#include "companions/common/Texts.h"

namespace procesor::explain {

namespace {

const std::string kFollowName = "sledovat simulátor";

} // namespace

std::string followingText(const MachineMessage& state) {
    switch (state.state) {
    case RunState::Programming:
        return "Sledujete simulátor: je v režimu „programování“, hodiny jsou v klidu.";
    case RunState::Halted:
        return "Sledujete simulátor: řádek " + lineName(state.line) + " zastavil hodiny, stojí.";
    case RunState::Running:
        break;
    }
    return "Sledujete simulátor: " + std::string(clockState(state.machine)) +
           ", právě prováděný řádek " + lineName(state.line) + ".";
}

void Scene::simulatorState(const MachineMessage& state) {
    latest_ = state;
    if (!follow_) {
        // In the stepping row, after the clock's state, where every scene leaves room.
        auto lamp = std::make_unique<Lamp>(StepButtons::followAt(height()), kFollowName);
        lamp->onClick = [this] { setFollowing(static_cast<Lamp&>(*follow_).on()); };
        follow_ = std::move(lamp);
        add(*follow_);
        setFollowing(true);
        return;
    }
    if (!follow_->visible()) {
        follow_->setVisible(true);
        setFollowing(true);
        return;
    }
    if (following_) adopt(state);
}

void Scene::simulatorGone() {
    latest_.reset();
    following_ = false;
    if (follow_) {
        static_cast<Lamp&>(*follow_).setOn(false);
        follow_->setVisible(false);
    }
}

void Scene::setFollowing(bool on) {
    following_ = on && latest_.has_value();
    if (follow_) static_cast<Lamp&>(*follow_).setOn(following_);
    if (following_) adopt(*latest_);
}

void Scene::viewOnly(const Control& control) {
    if (std::find(viewOnly_.begin(), viewOnly_.end(), &control) == viewOnly_.end())
        viewOnly_.push_back(&control);
}

void Scene::beforeClick(const Control& control) {
    const bool view = std::find(viewOnly_.begin(), viewOnly_.end(), &control) != viewOnly_.end();
    if (following_ && &control != follow_.get() && !view) setFollowing(false);
}

void Scene::afterClick(const Control& control) {
    if (following_ && &control != follow_.get()) adopt(*latest_);
}

} // namespace procesor::explain

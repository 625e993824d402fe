#include "CardJudgement.h"

#include "FactRecording.h"

namespace {

void Fail(OtherCard& card, CardCause cause, std::string detail = {}) {
    card.status = CardStatus::Failed;
    card.cause = cause;
    card.detail = std::move(detail);
    card.facts = {};
}

void FailWithoutAnswer(OtherCard& card, const CardProbeRun& run) {
    if (!run.launched) {
        Fail(card, CardCause::LaunchFailed, run.launchMessage);
        return;
    }
    if (run.timedOut) {
        Fail(card, run.checkOutOfTime ? CardCause::OutOfTime : CardCause::TimedOut);
        return;
    }
    if (run.printed) {
        Fail(card, CardCause::Unreadable);
        return;
    }
    const ProfilerRun ended = EndedRun(run.waitStatus);
    switch (ended.state) {
        case ProfilerState::Crashed:
            Fail(card, CardCause::Crashed, ended.detail);
            return;
        case ProfilerState::ExitedWithError:
            Fail(card, CardCause::ExitedWithError, ended.detail);
            return;
        default:
            Fail(card, CardCause::Unreadable);
    }
}

void NotReachable(OtherCard& card, CardCause cause) {
    card.status = CardStatus::NotReachable;
    card.cause = cause;
    card.detail.clear();
    card.facts = {};
}

}  // namespace

void JudgeCardProbe(OtherCard& card, const CardFacts& mainCard, const CardProbeRun& run) {
    if (!run.answer) {
        FailWithoutAnswer(card, run);
        return;
    }
    const CardFacts& answer = *run.answer;
    if (answer.renderer && answer.renderer == mainCard.renderer) {
        NotReachable(card, CardCause::OffloadNotSetUp);
        return;
    }
    if (!answer.renderer ||
        (answer.rendering == Rendering::Software && mainCard.rendering == Rendering::Hardware)) {
        NotReachable(card, CardCause::DriverMissing);
        return;
    }
    card.status = CardStatus::Checked;
    card.cause = CardCause::None;
    card.detail.clear();
    card.facts = answer;
}

void JudgeCardNotChecked(OtherCard& card) {
    Fail(card, CardCause::OutOfTime);
}

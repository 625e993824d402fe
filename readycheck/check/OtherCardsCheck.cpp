#include "OtherCardsCheck.h"

#include <algorithm>
#include <any>

#include "CardJudgement.h"
#include "OtherCardsList.h"
#include "RunLoop.h"
#include "SwitcherooControl.h"
#include "TaskWrapper.h"

OtherCardsCheck::OtherCardsCheck(TaskWrapperController* controller,
                                 std::vector<std::string> probeArguments, double probeBound,
                                 AnswerReader readAnswer, double checkBound)
    : mController(controller),
      mProbeArguments(std::move(probeArguments)),
      mProbeBound(probeBound),
      mReadAnswer(std::move(readAnswer)),
      mCheckBound(checkBound),
      mSelf(std::make_shared<OtherCardsCheck*>(this)) {}

OtherCardsCheck::~OtherCardsCheck() {
    stop();
}

void OtherCardsCheck::stop() {
    *mSelf = nullptr;
    mRequest.reset();
}

void OtherCardsCheck::start(Facts& facts, Changed changed) {
    mFacts = &facts;
    mChanged = std::move(changed);
    mDeadline = std::chrono::steady_clock::now() +
                std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                    std::chrono::duration<double>(mCheckBound));
    mRequest = std::make_unique<GpuListRequest>([this](std::optional<std::vector<ListedGpu>> gpus) {
        // The profiler's devices only where switcheroo-control did not answer.
        listed(gpus ? OtherCardsFromSwitcheroo(*gpus, mFacts->displayControllers)
                    : OtherCardsFromDevices(mFacts->displayControllers));
    });
}

void OtherCardsCheck::listed(std::vector<OtherCard> cards) {
    mFacts->otherCards = std::move(cards);
    probeNext();
}

// Each probe after the previous one has ended, outside the runner's own report.
void OtherCardsCheck::probeNext() {
    std::vector<OtherCard>& cards = mFacts->otherCards;
    if (mNext >= cards.size()) {
        finish();
        return;
    }
    const double timeLeft =
        std::chrono::duration<double>(mDeadline - std::chrono::steady_clock::now()).count();
    if (timeLeft <= 0) {
        outOfTime();
        return;
    }
    OtherCard& card = cards[mNext];
    card.status = CardStatus::Checking;
    // The environment is passed whole, LD_PRELOAD and the like included: switcheroo-control
    // answers on the system bus, whose services are root's, so this trusts root only.
    mTask = new TaskWrapper(mController, mProbeArguments, "/", std::any(mNext));
    mTask->addEnvironment(card.environment);
    mTask->keepStandardErrorApart();
    mProbeCutShort = timeLeft < mProbeBound;
    mTask->setBounds(std::min(mProbeBound, timeLeft), kCardProbeOutputLimit);
    if (mChanged) {
        mChanged();
    }
    mTask->startProcess();
}

void OtherCardsCheck::probeFinished(TaskWrapper* task, bool success) {
    OtherCard& card = mFacts->otherCards.at(std::any_cast<std::size_t>(task->taskID()));
    CardProbeRun run;
    run.launched = success;
    if (success) {
        run.timedOut = task->timedOut();
        run.checkOutOfTime = run.timedOut && mProbeCutShort;
        run.waitStatus = task->terminationStatus();
        run.printed = task->output().size() > 0;
        run.answer = mReadAnswer(task->output().view());
    } else {
        run.launchMessage = std::string(task->output().view());
    }
    JudgeCardProbe(card, *mFacts, run);
    mTask = nullptr;
    ++mNext;
    if (mChanged) {
        mChanged();
    }
    RunLoop::main().deferToEndOfEvent([self = mSelf] {
        if (*self != nullptr) {
            (*self)->probeNext();
        }
    });
}

// Every card not probed yet, once the whole check's time has run out.
void OtherCardsCheck::outOfTime() {
    std::vector<OtherCard>& cards = mFacts->otherCards;
    for (; mNext < cards.size(); ++mNext) {
        JudgeCardNotChecked(cards[mNext]);
    }
    finish();
}

void OtherCardsCheck::finish() {
    mFinished = true;
    if (mChanged) {
        mChanged();
    }
}

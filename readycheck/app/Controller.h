// The application's one window controller and delegate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Alert.h"
#include "Application.h"
#include "CheckSession.h"
#include "Controls.h"
#include "FactFields.h"
#include "Facts.h"
#include "OtherCardsCheck.h"
#include "TaskWrapperController.h"

class TaskWrapper;

class Controller final : public ApplicationDelegate, public TaskWrapperController {
public:
    // cardProbeBound: how long the helper may take for each other graphics card.
    explicit Controller(double cardProbeBound = kCardProbeBoundSeconds);
    ~Controller() override;  // dealloc
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    std::vector<Outlet> outlets() override;
    std::vector<Action> actions() override;

    void requireTigerOrBetter();
    void runInfoAlertWithMainKey(const std::string& mainKey, const std::string& detailKey);
    void runInfoAlertWithMainKey(const std::string& mainKey, const std::string& detailKey,
                                 const std::string& webURL);
    void reportResults();
    void showOneResult(bool passed, TextField* label, TextField* check);
    void initMainWindow();
    void showCheck1();
    void showCheck2();
    void showCheck3();
    void showCheck4();
    void showVersionBasic();
    void showVersionAdvanced();
    void showVersionDuo();
    void applicationDidFinishLaunching() override;
    void processStarted(TaskWrapper* task) override;
    void processFinished(TaskWrapper* task, bool success) override;
    void doReviewResults(void* sender);
    void doClose(void* sender);
    void doInfoHWOff(void* sender);
    void doInfoShadow(void* sender);
    void doInfoHiResLight(void* sender);
    void doInfoAntiAlias(void* sender);
    void doDuoPPL(void* sender);
    void doMoreAboutVersions(void* sender);
    // Explains software rendering; its button shows only then.
    void doInfoRendering(void* sender);
    void doCopyReport(void* sender);
    // How to start the 3D application on the other graphics card of that row.
    void doHowToUseCard(std::size_t card);

    static std::string profilerPath();
    // The helper that probes another graphics card, beside the profiler.
    static std::string cardProbePath();
    // What the check found, which the window shows.
    const Facts& facts() const { return mSession.facts(); }

private:
    void scheduleNext(void (Controller::*step)());
    void showRendering();
    void profilerFinished(bool success);
    void showOtherCards();
    Alert makeInfoAlert(const std::string& mainKey, const std::string& detailKey) const;
    // The page in the desktop's browser, or an alert that gives its address where none opens it.
    void openPage(const std::string& webURL) const;
    void showCauses();
    void nameMark(TextField* mark, AssessmentField field);

    // The check whose facts the window shows; the identity and the mask below are its own.
    CheckSession mSession;
    Window* oResultWindow = nullptr;
    TextField* oCardManufacturer = nullptr;
    TextField* oCardName = nullptr;
    TextField* oDriverVersion = nullptr;
    TextField* oVRAM = nullptr;
    TextField* oHWOffLabel = nullptr;
    TextField* oHWOffCheck = nullptr;
    TextField* oShadowLabel = nullptr;
    TextField* oShadowCheck = nullptr;
    TextField* oHiResLightLabel = nullptr;
    TextField* oHiResLightCheck = nullptr;
    TextField* oAntiAliasLabel = nullptr;
    TextField* oAntiAliasCheck = nullptr;
    ImageView* oBasicCircle = nullptr;
    ImageView* oAdvancedCircle = nullptr;
    ImageView* oDuoCircle = nullptr;
    Button* oDuoBangButton = nullptr;
    TextField* oRendering = nullptr;
    Button* oRenderingInfoButton = nullptr;
    const std::optional<std::string>& mVendorName = mSession.facts().vendor;
    const std::optional<std::string>& mCardName = mSession.facts().renderer;
    const std::optional<std::string>& mDriverVersion = mSession.facts().driverVersion;
    const int32_t& mFeaturesMask = mSession.facts().featuresMask;
    std::optional<Color> mBadColor;
    std::optional<Color> mGoodColor;
    TaskWrapper* mProfileTask = nullptr;  // not owned: the runner owns itself
    Button* oCopyReportButton = nullptr;
    TextField* oReportCopied = nullptr;
    uint64_t mReportCopies = 0;  // tells a confirmation's own clearing from an older one's
    CardRowsView* oOtherCards = nullptr;
};

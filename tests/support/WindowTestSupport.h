#pragma once

// What the suites that drive the real window share: the window over a settings file in a
// folder of the test's own, the idle pass, and one driver for the modal dialogs it opens.

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QTreeView;
class TCaptionDocument;
class TFormMain;

// Lets the event loop run out of work and wait, as it does between the user's actions: the
// window updates its commands, title, position and hint only then.
void RunIdlePass();

// The list the window shows, found by its object name as the window's widgets are.
TCaptionDocument& DocumentOf(const TFormMain& form);

// The base of every window suite: init makes the folder and the window, cleanup ends both.
class TWindowTest : public QObject
{
protected:
    enum class TShow
    {
        Exposed, // on the screen, as a window the user has not clicked yet
        Active,  // and given the keyboard, so that keys typed by the test reach it
    };

    // A fresh folder; the window's settings file is QuarnelApps.ini in it.
    void MakeFolder();
    QString SettingsFile() const;
    // The window over that settings file, not shown yet.
    void MakeForm();
    void EndForm();

    // Shows the window, waits until it is on the screen as asked, then lets one idle pass run.
    static void Show(TFormMain& form, TShow how);
    void ShowForm(TShow how = TShow::Exposed) { Show(*FForm, how); }
    static void IdlePass() { RunIdlePass(); }

    TCaptionDocument& Document() const { return DocumentOf(*FForm); }
    QTreeView* List() const;
    // The texts of one column of the list, top to bottom.
    QStringList Column(int column) const;

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TFormMain> FForm;
};

// What a message box showed when the driver came upon it.
struct TSeenBox
{
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> Buttons;
};

// Answers the modal windows the code under test opens, while it waits in them: each in turn
// goes to the next step the test expects. A window no step waits for is answered as a careful
// user would (a message box by its default button, any other dialog cancelled) and counted,
// so a test fails instead of hanging. A step may itself open the next modal window. Of the
// drivers alive at once the youngest answers: a test's next script takes over from its last.
class TModalDriver : public QObject
{
    Q_OBJECT

public:
    TModalDriver();

    // The next modal window, of whatever kind, goes to this step.
    void Expect(std::function<void(QWidget*)> step);
    // The next modal window must be a T; one of another kind is unexpected.
    template <typename T> void Expect(std::function<void(T*)> step)
    {
        FSteps.push_back(
            {[](QWidget* modal) { return qobject_cast<T*>(modal) != nullptr; },
             [step = std::move(step)](QWidget* modal) { step(static_cast<T*>(modal)); }});
    }

    bool AllAnswered() const { return FSteps.empty(); }
    int Unexpected() const { return FUnexpected; }
    // Every message box come upon, expected or not, in order.
    const std::vector<TSeenBox>& Seen() const { return FSeen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TStep
    {
        std::function<bool(QWidget*)> Matches;
        std::function<void(QWidget*)> Run;
    };

    void Poll();
    void Check();
    void Respond(QWidget* modal);

    std::deque<TStep> FSteps;
    std::vector<TSeenBox> FSeen;
    int FUnexpected = 0;
    // The window last answered, while it stays open: a step that failed half-way leaves it so,
    // and it must not go to the next step as well.
    QPointer<QWidget> FAnswered;
};

// A step that notes what the box shows and presses this button.
std::function<void(QMessageBox*)> Answer(TSeenBox& seen, QMessageBox::StandardButton button);

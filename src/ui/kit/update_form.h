#pragma once
// A dialog that edits one record of a table in its buffer: the fields of a
// RecordBinder, "&OK" and "Cancel", and the ditto key (Ctrl+' or the ditto
// button), which gives the focused field the value it had in the record of
// this table saved last in this run.
//
// OK reads every field first and stops at the first that does not fit; only
// then does the window's save run, inside one transaction, so a save that
// fails half-way leaves the file as it was. A record another station changed
// meanwhile stays open showing that station's values, and ditto then
// recalls the user's own.

#include <QDialog>
#include <memory>
#include <string>

#include "data/form_save.h"
#include "runtime/prompter.h"
#include "ui/kit/record_binder.h"

class QHBoxLayout;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace plorix::ui {

class UpdateForm : public QDialog {
    Q_OBJECT
public:
    // Edits `table`'s buffer, which holds the record (for a change, the
    // table's current record). The position section names POSITION.INI's.
    // With a title the caption heads the window, else it is the title.
    UpdateForm(store::Table& table, data::FormAction action, const QString& caption, std::string section,
               Prompter& prompter, QWidget* parent = nullptr, const QString& title = {});
    ~UpdateForm() override;

    store::Table& table() { return table_; }
    data::FormAction action() const { return action_; }
    RecordBinder& binder() { return binder_; }
    const RecordBinder& binder() const { return binder_; }
    // The form's way to the user (during a save, one that holds back
    // messages until the transaction is over).
    Prompter& prompter() { return *active_; }
    // Where the window's controls go, above the buttons.
    QVBoxLayout& body() { return *body_; }
    QHBoxLayout& buttonRow() { return *buttons_; }
    // "&OK": a window that saves by other buttons (a wizard's Finish) hides it.
    QPushButton& okButton() { return *ok_; }

    // The focused field takes its value from the last saved record.
    void ditto();
    // The record of this table saved last in this run, null before any.
    static const void* lastSaved(const store::TableSchema& schema);
    // The record as the form read it (for change detection).
    const void* original() const { return original_.get(); }
    // A change that leaves the record as it was, bookkeeping aside (who
    // changed it last, and when): it need not be written.
    bool unchanged() const;
    // Shows the buffer in the editors and takes it as the original.
    void showRecord();
    // The rules the default save follows (required fields, unique keys).
    void setRules(const data::FormRules* rules) { rules_ = rules; }
    // The default save writes nothing for a change that is unchanged().
    void setSkipUnchanged(bool skip) { skipUnchanged_ = skip; }

    void accept() override;
    // Reads and saves the record as OK does, but leaves the form open on
    // the record as saved; whether it was saved.
    bool saveNow();

protected:
    // After every field was read into the buffer: the window's own checks
    // and settings; false keeps the form open.
    virtual bool prepareSave() { return true; }
    // Writes the buffer (inside the form's transaction): a result of
    // data::saveRecord. The default saves through the rules given.
    virtual int save();
    // What OK does short of closing: reads every field, runs the window's
    // checks and saves; whether the record was saved.
    bool commit();

private:
    store::Table& table_;
    data::FormAction action_;
    Prompter& prompter_;
    Prompter* active_ = &prompter_;
    RecordBinder binder_;
    const data::FormRules* rules_ = nullptr;
    bool skipUnchanged_ = false;
    std::shared_ptr<void> original_;
    QVBoxLayout* body_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace plorix::ui

// What a user does with the program's dialogs and message boxes, for the end-to-end
// tests: finding the open dialog, typing a name, choosing a file type, pressing buttons.
#pragma once

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "platform/dialogs_support.h"

namespace user {

QFileDialog* FileDialog();     // the visible file dialog, or null
QColorDialog* ColourDialog();  // the visible colour dialog, or null
QMessageBox* MessageBox();     // the visible message box, or null

QLineEdit* NameField();
QComboBox* TypeBox();
// Opens the file-type list and clicks the entry, as a user picks it.
void ChooseType(int index);
void TypeName(const QString& name);
void ClickSave();
// Enter in the name field: also confirms when the completion list of a matching
// existing file is open (a click on a button would only close the list).
void PressEnter();
void ClickCancel();
void PressOk(QMessageBox* box);
// Answers the overwrite question (a message box on top of the file dialog).
QMessageBox* OverwriteQuestion();

bool Always();

}  // namespace user

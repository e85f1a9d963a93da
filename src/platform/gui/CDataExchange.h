#pragma once

class CDialog;
class QString;
class QWidget;

// One pass of dialog data exchange: members into controls, or controls into members with
// validation. The first refused field shows the framework's message, takes the focus with its
// text selected, and makes the rest of the pass do nothing.
class CDataExchange
{
public:
    CDataExchange(CDialog &dialog, bool saveAndValidate);

    bool m_bSaveAndValidate;

    bool Failed() const { return m_failed; }
    // The control with the id; null (and nothing exchanged) after a refusal.
    QWidget *Prepare(int id);
    void Fail(QWidget *control, const QString &text);

private:
    CDialog &m_dialog;
    bool m_failed = false;
};

// Exchanges of the framework: text fields, numbers with their messages, check boxes, ranges.
void DDX_Text(CDataExchange &dx, int id, QString &value, int maxChars = -1);
void DDX_Text(CDataExchange &dx, int id, int &value);
void DDX_Text(CDataExchange &dx, int id, unsigned &value);
void DDX_Check(CDataExchange &dx, int id, int &value);
// Checked after the exchange of the same field, on saving only.
void DDV_MinMaxInt(CDataExchange &dx, int id, int value, int minimum, int maximum);

#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

// The bar Ctrl+F opens under the results: words typed there narrow the hits on show. Esc or
// its close button asks for it to be closed; the view owning it decides what that undoes.
class CTrawlexResultsFilterBar final : public QWidget
{
    Q_OBJECT

public:
    explicit CTrawlexResultsFilterBar(QWidget *parent);

    QString filterText() const;
    QLineEdit *lineEdit() const { return m_pEdit; }
    QLabel *statusLabel() const { return m_pStatus; }
    QToolButton *closeButton() const { return m_pClose; }
    // How many hits the words let through, or why none.
    void setStatus(const QString &text);
    // Puts the focus into the words, all of them selected so typing replaces them.
    void focusWords();

Q_SIGNALS:
    void filterChanged(const QString &text);
    void closeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_pEdit = nullptr;
    QLabel *m_pStatus = nullptr;
    QToolButton *m_pClose = nullptr;
};

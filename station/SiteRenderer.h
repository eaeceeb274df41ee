#pragma once
// Writes the operator's folder that the station serves from the shipped templates, with the
// station's real addresses filled in (they depend on the ports it was started with).
#include <QByteArray>
#include <QMap>
#include <QString>

// Replaces every "@NAME@" whose NAME is a key of values; other text is left byte for byte.
QByteArray RenderTemplate(const QByteArray& text, const QMap<QByteArray, QByteArray>& values);

// Copies siteDir into wwwDir, rendering the text files. Files the operator edits while the
// station runs (the message) are only written when missing, so an edit survives a restart;
// the rest is written afresh every start. Files of the folder that are not in the site are
// served as they are and left alone.
bool RenderSite(const QString& siteDir, const QString& wwwDir,
                const QMap<QByteArray, QByteArray>& values, QString& error);

// Path of the message file inside a served folder.
QString MessageFileIn(const QString& wwwDir);

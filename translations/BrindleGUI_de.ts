<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>COutputModesModel</name>
    <message>
        <source>t_prefix_same_folder</source>
        <translation>Quellordner, Präfix mini_</translation>
    </message>
    <message>
        <source>t_subfolder</source>
        <translation>Unterordner nach Größe</translation>
    </message>
    <message>
        <source>t_choose_folder</source>
        <translation>Ordner wählen...</translation>
    </message>
</context>
<context>
    <name>InitialWidget</name>
    <message>
        <source>b_add_photo</source>
        <translation>Fotos hinzufügen</translation>
    </message>
    <message>
        <source>t_drop_files_here</source>
        <translation>Fotos hierher ziehen</translation>
    </message>
</context>
<context>
    <name>LoadingWindow</name>
    <message>
        <source>t_cancel_opening</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>t_opening_progress %1 %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Brindle</source>
        <translation>Brindle</translation>
    </message>
    <message>
        <source>b_add_image</source>
        <translation>Fotos hinzufügen</translation>
    </message>
    <message>
        <source>b_add_folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>t_last_file</source>
        <translation>Zuletzt verkleinerte Datei:</translation>
    </message>
    <message>
        <source>l_open_folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>b_help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>b_settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>t_choose_file</source>
        <translation>Fotos auswählen</translation>
    </message>
    <message>
        <source>t_images (*.jpeg *.jpg *.gif *.png *.bmp *.tiff)</source>
        <translation>Bilder (*.jpeg *.jpg *.JPEG *.JPG *.gif *.GIF *.png *.PNG *.bmp *.BMP *.tiff *.tif *.TIFF *.TIF)</translation>
    </message>
    <message>
        <source>t_choose_images_dir</source>
        <translation>Ordner mit Fotos wählen</translation>
    </message>
    <message>
        <source>w_left_out_more %1</source>
        <translation>…und %1 weitere</translation>
    </message>
    <message>
        <source>t_left_out</source>
        <translation>Dateien nicht hinzugefügt</translation>
    </message>
    <message>
        <source>w_left_out %1</source>
        <translation>Diese Dateien wurden nicht in die Liste aufgenommen:
%1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>t_error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>e_cann&apos;t_read_profile</source>
        <translation>Eine Größenprofil-Datei kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>ResizeFinishedDialog</name>
    <message>
        <source>t_resieze_complete</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>t_congratiluations</source>
        <translation>Alle Fotos wurden verkleinert.</translation>
    </message>
    <message>
        <source>b_open_folder</source>
        <translation>Ordner öffnen</translation>
    </message>
</context>
<context>
    <name>ResizeQueueDialog</name>
    <message>
        <source>t_resize_queue</source>
        <translation>Fotos verkleinern</translation>
    </message>
    <message>
        <source>t_cancel</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>t_resize</source>
        <translation>Verkleinern</translation>
    </message>
</context>
<context>
    <name>ResizeWidget</name>
    <message>
        <source>t_profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>t_scaled_to</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>t_saved_files</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>X</source>
        <translation>×</translation>
    </message>
    <message>
        <source>t_width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>t_height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>t_keep_original_aspect_ratio</source>
        <translation>Seitenverhältnis beibehalten</translation>
    </message>
    <message>
        <source>tt_keep_original_ratio</source>
        <translation>Das Foto behält seine Proportionen und passt in Breite und Höhe.</translation>
    </message>
    <message>
        <source>t_vertical_images_autorecognition</source>
        <translation>Hochformat erkennen</translation>
    </message>
    <message>
        <source>tt_vertical_images_recognition</source>
        <translation>Bei Fotos im Hochformat werden Breite und Höhe vertauscht.</translation>
    </message>
    <message>
        <source>t_result_size</source>
        <translation>Ergebnis:</translation>
    </message>
    <message>
        <source>t_resize</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>t_result_size %1 %2 %3</source>
        <translation>%1 von %2 MB, %3 Fotos</translation>
    </message>
    <message>
        <source>t_choose_output_dir</source>
        <translation>Ordner für die verkleinerten Fotos wählen</translation>
    </message>
    <message>
        <source>t_total_images</source>
        <translation>Fotos in der Warteschlange: </translation>
    </message>
    <message>
        <source>t_clear_queue %1</source>
        <translation>Warteschlange leeren (%1)</translation>
    </message>
    <message>
        <source>t_resize_question %1</source>
        <translation>%1 Bilder verkleinern?</translation>
    </message>
    <message>
        <source>t_resized_count %1 %2</source>
        <translation>%1 von %2 verkleinert</translation>
    </message>
    <message>
        <source>t_elapsed_time %1</source>
        <translation>Vergangen: %1</translation>
    </message>
    <message>
        <source>t_time_remaining %1</source>
        <translation>Verbleibend: %1</translation>
    </message>
    <message>
        <source>t_speed %1</source>
        <translation>%1 KB/s</translation>
    </message>
    <message>
        <source>e_image_failed %1</source>
        <translation>Die Verarbeitung wurde abgebrochen, weil die Größe eines Bildes nicht geändert werden konnte:
%1</translation>
    </message>
    <message>
        <source>e_run_refused %1</source>
        <translation>Die Größenänderung konnte nicht gestartet werden; die Warteschlange bleibt unverändert.
%1</translation>
    </message>
    <message>
        <source>t_stopping</source>
        <translation>Wird abgebrochen…</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>t_settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>t_save_files</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>t_language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>t_cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>t_save_settings</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>t_choose_outdir</source>
        <translation>Ordner für die verkleinerten Fotos wählen</translation>
    </message>
    <message>
        <source>tt_jpeg_quality</source>
        <translation>Niedriger ergibt kleinere JPEG-Dateien; „Wie das Original“ behält die Qualität jedes Fotos. Andere Formate sind verlustfrei.</translation>
    </message>
    <message>
        <source>t_jpeg_quality</source>
        <translation>JPEG-Qualität</translation>
    </message>
    <message>
        <source>t_quality_as_source</source>
        <translation>Wie das Original</translation>
    </message>
    <message>
        <source>tt_strip_details</source>
        <translation>Kopien ohne Aufnahmedatum, Kamera, Ort und weitere Angaben; das Farbprofil bleibt erhalten.</translation>
    </message>
    <message>
        <source>t_strip_details</source>
        <translation>Fotodetails entfernen</translation>
    </message>
    <message>
        <source>tt_never_enlarge</source>
        <translation>Fotos, die schon kleiner als das Ziel sind, behalten ihre Größe, statt vergrößert zu werden.</translation>
    </message>
    <message>
        <source>t_never_enlarge</source>
        <translation>Nie vergrößern</translation>
    </message>
</context>
<context>
    <name>StartSplash</name>
    <message>
        <source>t_loading</source>
        <translation>Wird geladen</translation>
    </message>
</context>
</TS>

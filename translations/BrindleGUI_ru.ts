<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>COutputModesModel</name>
    <message>
        <source>t_prefix_same_folder</source>
        <translation>Рядом, с приставкой mini_</translation>
    </message>
    <message>
        <source>t_subfolder</source>
        <translation>В подпапку по размеру</translation>
    </message>
    <message>
        <source>t_choose_folder</source>
        <translation>Выбрать папку...</translation>
    </message>
</context>
<context>
    <name>InitialWidget</name>
    <message>
        <source>b_add_photo</source>
        <translation>Добавить фото</translation>
    </message>
    <message>
        <source>t_drop_files_here</source>
        <translation>Бросьте фото сюда</translation>
    </message>
</context>
<context>
    <name>LoadingWindow</name>
    <message>
        <source>t_cancel_opening</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>t_opening_progress %1 %2</source>
        <translation>%1 из %2</translation>
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
        <translation>Добавить фото</translation>
    </message>
    <message>
        <source>b_add_folder</source>
        <translation>Добавить папку</translation>
    </message>
    <message>
        <source>t_last_file</source>
        <translation>Последний файл:</translation>
    </message>
    <message>
        <source>l_open_folder</source>
        <translation>Открыть папку</translation>
    </message>
    <message>
        <source>b_help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>b_settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>t_choose_file</source>
        <translation>Выберите фото</translation>
    </message>
    <message>
        <source>t_images (*.jpeg *.jpg *.gif *.png *.bmp *.tiff)</source>
        <translation>Изображения (*.jpeg *.jpg *.JPEG *.JPG *.gif *.GIF *.png *.PNG *.bmp *.BMP *.tiff *.tif *.TIFF *.TIF)</translation>
    </message>
    <message>
        <source>t_choose_images_dir</source>
        <translation>Выберите папку с фото</translation>
    </message>
    <message>
        <source>w_left_out_more %1</source>
        <translation>…и ещё %1</translation>
    </message>
    <message>
        <source>t_left_out</source>
        <translation>Файлы не добавлены</translation>
    </message>
    <message>
        <source>w_left_out %1</source>
        <translation>Эти файлы не добавлены в очередь:
%1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>t_error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>e_cann&apos;t_read_profile</source>
        <translation>Не удаётся прочитать файл профиля размера.</translation>
    </message>
</context>
<context>
    <name>ResizeFinishedDialog</name>
    <message>
        <source>t_resieze_complete</source>
        <translation>Готово</translation>
    </message>
    <message>
        <source>t_congratiluations</source>
        <translation>Размер всех фото изменён.</translation>
    </message>
    <message>
        <source>b_open_folder</source>
        <translation>Открыть папку</translation>
    </message>
</context>
<context>
    <name>ResizeQueueDialog</name>
    <message>
        <source>t_resize_queue</source>
        <translation>Изменение размера</translation>
    </message>
    <message>
        <source>t_cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>t_resize</source>
        <translation>Уменьшить</translation>
    </message>
</context>
<context>
    <name>ResizeWidget</name>
    <message>
        <source>t_profile</source>
        <translation>Шаблон</translation>
    </message>
    <message>
        <source>t_scaled_to</source>
        <translation>Размер</translation>
    </message>
    <message>
        <source>t_saved_files</source>
        <translation>Папка</translation>
    </message>
    <message>
        <source>X</source>
        <translation>×</translation>
    </message>
    <message>
        <source>t_width</source>
        <translation>ширина</translation>
    </message>
    <message>
        <source>t_height</source>
        <translation>высота</translation>
    </message>
    <message>
        <source>t_keep_original_aspect_ratio</source>
        <translation>Сохранять пропорции</translation>
    </message>
    <message>
        <source>tt_keep_original_ratio</source>
        <translation>Фото сохраняет пропорции и вписывается в ширину и высоту.</translation>
    </message>
    <message>
        <source>t_vertical_images_autorecognition</source>
        <translation>Учитывать ориентацию</translation>
    </message>
    <message>
        <source>tt_vertical_images_recognition</source>
        <translation>Для вертикальных фото ширина и высота меняются местами.</translation>
    </message>
    <message>
        <source>t_result_size</source>
        <translation>Итог:</translation>
    </message>
    <message>
        <source>t_resize</source>
        <translation>Уменьшить</translation>
    </message>
    <message>
        <source>t_result_size %1 %2 %3</source>
        <translation>%1 из %2 МБ, фото: %3</translation>
    </message>
    <message>
        <source>t_choose_output_dir</source>
        <translation>Выберите папку для готовых фото</translation>
    </message>
    <message>
        <source>t_total_images</source>
        <translation>Фото в очереди: </translation>
    </message>
    <message>
        <source>t_clear_queue %1</source>
        <translation>Очистить очередь (%1)</translation>
    </message>
    <message>
        <source>t_resize_question %1</source>
        <translation>Уменьшить фото: %1?</translation>
    </message>
    <message>
        <source>t_resized_count %1 %2</source>
        <translation>Готово %1 из %2</translation>
    </message>
    <message>
        <source>t_elapsed_time %1</source>
        <translation>Прошло: %1</translation>
    </message>
    <message>
        <source>t_time_remaining %1</source>
        <translation>Осталось: %1</translation>
    </message>
    <message>
        <source>t_speed %1</source>
        <translation>%1 КБ/с</translation>
    </message>
    <message>
        <source>e_image_failed %1</source>
        <translation>Обработка остановлена: не удалось изменить размер изображения:
%1</translation>
    </message>
    <message>
        <source>e_run_refused %1</source>
        <translation>Не удалось начать изменение размера; очередь не изменена.
%1</translation>
    </message>
    <message>
        <source>t_stopping</source>
        <translation>Остановка…</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>t_settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>t_save_files</source>
        <translation>Сохранять</translation>
    </message>
    <message>
        <source>t_language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>t_cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>t_save_settings</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>t_choose_outdir</source>
        <translation>Выберите папку для готовых фото</translation>
    </message>
    <message>
        <source>tt_jpeg_quality</source>
        <translation>Чем ниже, тем меньше JPEG-файлы; «Как в исходном» сохраняет качество каждого фото. Другие форматы — без потерь.</translation>
    </message>
    <message>
        <source>t_jpeg_quality</source>
        <translation>Качество JPEG</translation>
    </message>
    <message>
        <source>t_quality_as_source</source>
        <translation>Как в исходном</translation>
    </message>
    <message>
        <source>tt_strip_details</source>
        <translation>Копии без даты съёмки, камеры, места и других сведений; цветовой профиль сохраняется.</translation>
    </message>
    <message>
        <source>t_strip_details</source>
        <translation>Удалять сведения о фото</translation>
    </message>
    <message>
        <source>tt_never_enlarge</source>
        <translation>Фото меньше заданного размера сохраняют свой размер, а не растягиваются.</translation>
    </message>
    <message>
        <source>t_never_enlarge</source>
        <translation>Не увеличивать</translation>
    </message>
</context>
<context>
    <name>StartSplash</name>
    <message>
        <source>t_loading</source>
        <translation>Загрузка</translation>
    </message>
</context>
</TS>

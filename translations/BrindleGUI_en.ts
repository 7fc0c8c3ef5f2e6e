<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>COutputModesModel</name>
    <message>
        <source>t_prefix_same_folder</source>
        <translation>Same folder, prefix mini_</translation>
    </message>
    <message>
        <source>t_subfolder</source>
        <translation>Sub-folder named by size</translation>
    </message>
    <message>
        <source>t_choose_folder</source>
        <translation>Choose a folder...</translation>
    </message>
</context>
<context>
    <name>InitialWidget</name>
    <message>
        <source>b_add_photo</source>
        <translation>Add photos</translation>
    </message>
    <message>
        <source>t_drop_files_here</source>
        <translation>Drop photos here</translation>
    </message>
</context>
<context>
    <name>LoadingWindow</name>
    <message>
        <source>t_cancel_opening</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>t_opening_progress %1 %2</source>
        <translation>%1 of %2</translation>
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
        <translation>Add photos</translation>
    </message>
    <message>
        <source>b_add_folder</source>
        <translation>Add folder</translation>
    </message>
    <message>
        <source>t_last_file</source>
        <translation>Last resized file:</translation>
    </message>
    <message>
        <source>l_open_folder</source>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>b_help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>b_settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>t_choose_file</source>
        <translation>Choose photos</translation>
    </message>
    <message>
        <source>t_images (*.jpeg *.jpg *.gif *.png *.bmp *.tiff)</source>
        <translation>Images (*.jpeg *.jpg *.JPEG *.JPG *.gif *.GIF *.png *.PNG *.bmp *.BMP *.tiff *.tif *.TIFF *.TIF)</translation>
    </message>
    <message>
        <source>t_choose_images_dir</source>
        <translation>Choose a folder of photos</translation>
    </message>
    <message>
        <source>w_left_out_more %1</source>
        <translation>…and %1 more</translation>
    </message>
    <message>
        <source>t_left_out</source>
        <translation>Files not added</translation>
    </message>
    <message>
        <source>w_left_out %1</source>
        <translation>These files were not added to the queue:
%1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>t_error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>e_cann&apos;t_read_profile</source>
        <translation>A size profile file cannot be read.</translation>
    </message>
</context>
<context>
    <name>ResizeFinishedDialog</name>
    <message>
        <source>t_resieze_complete</source>
        <translation>Resizing complete</translation>
    </message>
    <message>
        <source>t_congratiluations</source>
        <translation>All photos have been resized.</translation>
    </message>
    <message>
        <source>b_open_folder</source>
        <translation>Open folder</translation>
    </message>
</context>
<context>
    <name>ResizeQueueDialog</name>
    <message>
        <source>t_resize_queue</source>
        <translation>Resize photos</translation>
    </message>
    <message>
        <source>t_cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>t_resize</source>
        <translation>Resize</translation>
    </message>
</context>
<context>
    <name>ResizeWidget</name>
    <message>
        <source>t_profile</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>t_scaled_to</source>
        <translation>Scale to</translation>
    </message>
    <message>
        <source>t_saved_files</source>
        <translation>Save to</translation>
    </message>
    <message>
        <source>X</source>
        <translation>×</translation>
    </message>
    <message>
        <source>t_width</source>
        <translation>width</translation>
    </message>
    <message>
        <source>t_height</source>
        <translation>height</translation>
    </message>
    <message>
        <source>t_keep_original_aspect_ratio</source>
        <translation>Keep the aspect ratio</translation>
    </message>
    <message>
        <source>tt_keep_original_ratio</source>
        <translation>The photo keeps its proportions and fits inside the width and height.</translation>
    </message>
    <message>
        <source>t_vertical_images_autorecognition</source>
        <translation>Turn the size for portrait photos</translation>
    </message>
    <message>
        <source>tt_vertical_images_recognition</source>
        <translation>For photos taller than wide, width and height are swapped.</translation>
    </message>
    <message>
        <source>t_result_size</source>
        <translation>Result:</translation>
    </message>
    <message>
        <source>t_resize</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>t_result_size %1 %2 %3</source>
        <translation>%1 of %2 MB, %3 photos</translation>
    </message>
    <message>
        <source>t_choose_output_dir</source>
        <translation>Choose the folder for resized photos</translation>
    </message>
    <message>
        <source>t_total_images</source>
        <translation>Photos in the queue: </translation>
    </message>
    <message>
        <source>t_clear_queue %1</source>
        <translation>Clear the queue (%1)</translation>
    </message>
    <message>
        <source>t_resize_question %1</source>
        <translation>Resize %1 images?</translation>
    </message>
    <message>
        <source>t_resized_count %1 %2</source>
        <translation>Resized %1 of %2</translation>
    </message>
    <message>
        <source>t_elapsed_time %1</source>
        <translation>Elapsed: %1</translation>
    </message>
    <message>
        <source>t_time_remaining %1</source>
        <translation>Remaining: %1</translation>
    </message>
    <message>
        <source>t_speed %1</source>
        <translation>%1 KB/s</translation>
    </message>
    <message>
        <source>e_image_failed %1</source>
        <translation>The resize was stopped because an image could not be resized:
%1</translation>
    </message>
    <message>
        <source>e_run_refused %1</source>
        <translation>The resize could not be started; the queue is unchanged.
%1</translation>
    </message>
    <message>
        <source>t_stopping</source>
        <translation>Stopping…</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>t_settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>t_save_files</source>
        <translation>Save to</translation>
    </message>
    <message>
        <source>t_language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>t_cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>t_save_settings</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>t_choose_outdir</source>
        <translation>Choose the folder for resized photos</translation>
    </message>
    <message>
        <source>tt_jpeg_quality</source>
        <translation>Lower gives smaller JPEG files; “As the source” keeps each photo’s quality. Other formats are lossless.</translation>
    </message>
    <message>
        <source>t_jpeg_quality</source>
        <translation>JPEG quality</translation>
    </message>
    <message>
        <source>t_quality_as_source</source>
        <translation>As the source</translation>
    </message>
    <message>
        <source>tt_strip_details</source>
        <translation>Copies leave out the date, camera, location and other details; the colour profile stays.</translation>
    </message>
    <message>
        <source>t_strip_details</source>
        <translation>Remove photo details</translation>
    </message>
    <message>
        <source>tt_never_enlarge</source>
        <translation>Photos already smaller than the target keep their size instead of being blown up.</translation>
    </message>
    <message>
        <source>t_never_enlarge</source>
        <translation>Never enlarge</translation>
    </message>
</context>
<context>
    <name>StartSplash</name>
    <message>
        <source>t_loading</source>
        <translation>Loading</translation>
    </message>
</context>
</TS>
